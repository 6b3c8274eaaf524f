// admin_password.h: the one rule an administrator password meets, wherever it is typed or read.
//
// The password must be storable (stored_password.h: at most 64 bytes in the ANSI code page) and
// fit the Basic credentials of a command's log-in, where "admin:" and the password in UTF-8
// share 72 bytes (their Base64 form is at most the log-in's 99 characters). A kanji counts two
// bytes in the first and three in the second, so either limit can be the one that bites.
#pragma once

namespace quirn {

// The longest password in UTF-8 bytes that a command's log-in can carry.
inline constexpr int kMaxAdminPasswordUtf8Bytes = 66;

enum class AdminPasswordFit {
    kFits,
    kMissing,           // no text at all (a null pointer)
    kNotInCodePage,     // a character the ANSI code page cannot hold
    kStoredFormTooLong, // more than 64 bytes in the ANSI code page
    kLogInTooLong,      // more than kMaxAdminPasswordUtf8Bytes in UTF-8
};

// `password` is zero-terminated wide text or null.
AdminPasswordFit CheckAdminPassword(const wchar_t* password);

// "at most 64 bytes in code page 932 and 66 bytes in UTF-8", for messages that name the limits.
const char* AdminPasswordLimitsText();

}  // namespace quirn
