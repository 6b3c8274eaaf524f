// stored_password.h: the stored (scrambled) form of the router administrator's password.
//
// The password is converted to the ANSI code page (the thread's on Windows, code page 932
// elsewhere, so a Japanese character counts two bytes everywhere), each byte is rotated by one
// bit, left at even and right at odd positions, and the bytes are written in Base64.
#pragma once

#include <string>

namespace quirn {

// The longest password, in ANSI code-page bytes, that can be stored.
constexpr int kMaxStoredPasswordBytes = 64;

struct EncodedPassword {
    // Length of `stored` (0 or more) on success; -1 for a missing input; -2 for a password
    // longer than 64 bytes; -3 for a character the code page cannot represent (storing a
    // substitute would save a password other than the user's).
    int result;
    std::wstring stored;  // empty unless result >= 0
};

struct DecodedPassword {
    std::wstring plain;
    // Number of password bytes decoded (at most 64); -1 for a missing input.
    int length;
};

// `plain` is zero-terminated wide text or null (a missing input).
EncodedPassword EncodeStoredPassword(const wchar_t* plain);

// `stored` is zero-terminated wide text or null (a missing input). Any input gives a bounded
// result: characters outside the Base64 alphabet are skipped, the password ends at its first zero
// byte or after 64 bytes, and bytes that are no text in the code page give an empty password.
DecodedPassword DecodeStoredPassword(const wchar_t* stored);

}  // namespace quirn
