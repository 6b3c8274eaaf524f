// code_page_posix.cpp: wide/narrow conversions over iconv. Wide text is wchar_t as the C library
// has it (UTF-32 on Linux); the ANSI code page of the Japanese systems we mirror is CP932.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <new>

#include "common/text/code_page.h"

namespace lumora {
namespace {

// The iconv name of a code page, or null when it is not one this program converts.
const char* IconvName(unsigned code_page) {
    switch (code_page) {
        case kCodePageUtf8:
            return "UTF-8";
        case kCodePageCp932:
        case kCodePageThreadAnsi:
            return "CP932";
        default:
            return nullptr;
    }
}

// Owns one iconv descriptor.
class Converter {
  public:
    Converter(const char* operation, const char* to, const char* from)
        : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            if (errno == ENOMEM) {
                throw std::bad_alloc();
            }
            throw ConversionError(operation, HresultFromSystemError(kErrorInvalidParameter));
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all `length` bytes at `input` and returns the output bytes; throws on any
    // invalid, unmappable or incomplete input rather than cutting or replacing it. `capacity`
    // is the first guess of the output size.
    std::string Run(const char* operation, const char* input, std::size_t length,
                    std::size_t capacity) {
        std::string output(capacity + 16, '\0');
        char* in = const_cast<char*>(input);  // iconv's signature; the input is not written
        std::size_t in_left = length;
        std::size_t written = 0;
        for (;;) {
            char* out = output.data() + written;
            std::size_t out_left = output.size() - written;
            // Once the input is used up, one call without input ends any shift state.
            bool flushing = in_left == 0;
            std::size_t result = flushing ? iconv(handle_, nullptr, nullptr, &out, &out_left)
                                          : iconv(handle_, &in, &in_left, &out, &out_left);
            written = output.size() - out_left;
            if (result != static_cast<std::size_t>(-1)) {
                if (flushing) {
                    break;
                }
            } else if (errno == E2BIG) {
                output.resize(output.size() * 2);
            } else if (errno == ENOMEM) {
                throw std::bad_alloc();
            } else {
                throw ConversionError(operation,
                                      HresultFromSystemError(kErrorNoUnicodeTranslation));
            }
        }
        output.resize(written);
        return output;
    }

  private:
    iconv_t handle_;
};

const char* RequireName(const char* operation, unsigned code_page) {
    const char* name = IconvName(code_page);
    if (name == nullptr) {
        throw ConversionError(operation, HresultFromSystemError(kErrorInvalidParameter));
    }
    return name;
}

}  // namespace

std::optional<std::string> WideToNarrow(const wchar_t* text, unsigned code_page) {
    constexpr const char* kOperation = "WideToNarrow";
    if (text == nullptr) {
        return std::nullopt;
    }
    std::size_t length = std::wcslen(text);
    // Surrogates and values beyond U+10FFFF are no characters; refuse them whatever iconv does.
    for (std::size_t i = 0; i < length; ++i) {
        auto unit = static_cast<uint32_t>(text[i]);
        if ((unit >= 0xD800 && unit <= 0xDFFF) || unit > 0x10FFFF) {
            throw ConversionError(kOperation, HresultFromSystemError(kErrorNoUnicodeTranslation));
        }
    }
    const char* name = RequireName(kOperation, code_page);
    Converter converter(kOperation, name, "WCHAR_T");
    // At most four narrow bytes per character in either code page.
    std::string narrow = converter.Run(kOperation, reinterpret_cast<const char*>(text),
                                       length * sizeof(wchar_t), length * 4);
    // iconv maps a few characters one way only (U+00A5 becomes the byte 0x5C in CP932). Such a text
    // would come back as another text, so it is refused, as the Windows converter refuses best-fit
    // characters.
    if (code_page != kCodePageUtf8) {
        Converter back(kOperation, "WCHAR_T", name);
        const std::string wide =
            back.Run(kOperation, narrow.data(), narrow.size(), narrow.size() * sizeof(wchar_t));
        if (wide.size() != length * sizeof(wchar_t) ||
            std::memcmp(wide.data(), text, wide.size()) != 0) {
            throw ConversionError(kOperation, HresultFromSystemError(kErrorNoUnicodeTranslation));
        }
    }
    return narrow;
}

std::optional<std::wstring> NarrowToWide(const char* text, unsigned code_page) {
    constexpr const char* kOperation = "NarrowToWide";
    if (text == nullptr) {
        return std::nullopt;
    }
    Converter converter(kOperation, "WCHAR_T", RequireName(kOperation, code_page));
    std::size_t length = std::strlen(text);
    // At most one wide character per narrow byte.
    std::string bytes = converter.Run(kOperation, text, length, length * sizeof(wchar_t));
    std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
    return wide;
}

}  // namespace lumora
