// stored_password.cpp: the codec of the stored administrator password.
#include "state/stored_password.h"

#include <cstdint>
#include <cwchar>
#include <optional>

#include "common/text/base64.h"
#include "common/text/code_page.h"

namespace quirn {
namespace {

// The thread's ANSI code page on Windows; the converter maps it to code page 932 elsewhere.
constexpr unsigned kPasswordCodePage = lumora::kCodePageThreadAnsi;

uint8_t RotateLeft(uint8_t b) {
    return static_cast<uint8_t>(b << 1 | b >> 7);
}
uint8_t RotateRight(uint8_t b) {
    return static_cast<uint8_t>(b >> 1 | b << 7);
}

bool IsBase64Character(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
           c == L'+' || c == L'/' || c == L'=';
}

}  // namespace

EncodedPassword EncodeStoredPassword(const wchar_t* plain) {
    if (plain == nullptr) {
        return {-1, {}};
    }
    std::optional<std::string> bytes;
    try {
        bytes = lumora::WideToNarrow(plain, kPasswordCodePage);
    } catch (const lumora::ConversionError&) {
        return {-3, {}};
    }
    if (bytes->size() > kMaxStoredPasswordBytes) {
        return {-2, {}};
    }
    for (size_t i = 0; i < bytes->size(); ++i) {
        auto& byte = reinterpret_cast<uint8_t&>((*bytes)[i]);
        byte = i % 2 == 0 ? RotateLeft(byte) : RotateRight(byte);
    }
    const std::string base64 = lumora::Base64Encode(bytes->data(), bytes->size());
    // The Base64 alphabet is plain ASCII, the same in every code page.
    std::wstring stored(base64.begin(), base64.end());
    return {static_cast<int>(stored.size()), stored};
}

DecodedPassword DecodeStoredPassword(const wchar_t* stored) {
    if (stored == nullptr) {
        return {{}, -1};
    }
    // Only the alphabet and padding reach the decoder; a hand-edited stray character is dropped.
    std::string base64;
    for (const wchar_t* c = stored; *c != L'\0'; ++c) {
        if (IsBase64Character(*c)) {
            base64 += static_cast<char>(*c);
        }
    }
    const std::string decoded = lumora::Base64Decode(base64.data(), base64.size());
    std::string bytes;
    for (size_t i = 0; i < decoded.size() && i < kMaxStoredPasswordBytes; ++i) {
        const auto byte = static_cast<uint8_t>(decoded[i]);
        if (byte == 0) {
            break;
        }
        bytes += static_cast<char>(i % 2 == 0 ? RotateRight(byte) : RotateLeft(byte));
    }
    try {
        std::optional<std::wstring> plain = lumora::NarrowToWide(bytes.c_str(), kPasswordCodePage);
        return {*plain, static_cast<int>(bytes.size())};
    } catch (const lumora::ConversionError&) {
        return {{}, 0};
    }
}

}  // namespace quirn
