// code_page.h: conversions between wide text (the window's) and narrow text in a code page (the
// library's UTF-8, or the ANSI code page of the stored password).
//
// One declaration, two implementations: code_page_win32.cpp over the system's converters and
// code_page_posix.cpp over iconv, where wide text is UTF-32 and the ANSI code page is CP932.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace lumora {

inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageCp932 = 932;
// The calling thread's ANSI code page (the system's CP_THREAD_ACP); code page 932 off Windows.
inline constexpr unsigned kCodePageThreadAnsi = 3;

// A conversion that failed for a reason other than memory: invalid or unmappable input, or an
// unsupported code page. Carries the system error as an HRESULT in the Win32 facility.
class ConversionError : public std::runtime_error {
  public:
    ConversionError(const char* operation, uint32_t hresult);
    uint32_t hresult() const noexcept { return hresult_; }

  private:
    uint32_t hresult_;
};

// The Win32-facility HRESULT of a system error number (0x80070000 | low 16 bits); a zero error
// number, which names no failure, becomes the generic failure 0x80004005.
constexpr uint32_t HresultFromSystemError(uint32_t error) {
    return error == 0 ? 0x80004005u : (0x80070000u | (error & 0xFFFFu));
}

// System error numbers used by both implementations.
inline constexpr uint32_t kErrorInvalidParameter = 87;        // unsupported code page
inline constexpr uint32_t kErrorNoUnicodeTranslation = 1113;  // invalid or unmappable input

// Converts the zero-terminated wide `text` to `code_page`; null gives nullopt. Throws
// std::bad_alloc when memory runs out and ConversionError for anything else, including a
// character the code page cannot represent and an unpaired surrogate: nothing is cut or replaced.
std::optional<std::string> WideToNarrow(const wchar_t* text, unsigned code_page);

// Converts the zero-terminated narrow `text` in `code_page` to wide text; null gives nullopt.
// Throws like WideToNarrow; a byte sequence that is not valid in the code page is a failure.
std::optional<std::wstring> NarrowToWide(const char* text, unsigned code_page);

}  // namespace lumora
