// code_page_win32.cpp: wide/narrow conversions over the system's code page converters.
#include <windows.h>

#include <climits>
#include <memory>
#include <new>

#include "common/text/code_page.h"

namespace lumora {
namespace {

static_assert(kCodePageUtf8 == CP_UTF8 && kCodePageThreadAnsi == CP_THREAD_ACP);
static_assert(kErrorNoUnicodeTranslation == ERROR_NO_UNICODE_TRANSLATION &&
              kErrorInvalidParameter == ERROR_INVALID_PARAMETER);

// Units converted without touching the heap; longer texts fall back to an allocation.
constexpr int kInlineUnits = 128;

[[noreturn]] void ThrowLastError(const char* operation) {
    DWORD error = GetLastError();
    if (error == ERROR_NOT_ENOUGH_MEMORY || error == ERROR_OUTOFMEMORY) {
        throw std::bad_alloc();
    }
    throw ConversionError(operation, HresultFromSystemError(error));
}

// Runs `convert(buffer, capacity)` (the system call, returning the units written, terminator
// included, or 0) first into an inline buffer or a heap buffer of `guess` units, then, when the
// system reports the buffer too small, into a heap buffer of the size it asks for
// (`convert(nullptr, 0)`). Returns the text without its terminator.
template <typename Unit, typename Convert>
std::basic_string<Unit> ConvertWithFallback(const char* operation, long long guess,
                                            Convert convert) {
    Unit inline_buffer[kInlineUnits];
    std::unique_ptr<Unit[]> heap;
    Unit* buffer = inline_buffer;
    int capacity = kInlineUnits;
    if (guess > kInlineUnits && guess <= INT_MAX) {
        capacity = static_cast<int>(guess);
        heap.reset(new Unit[capacity]);
        buffer = heap.get();
    }
    int written = convert(buffer, capacity);
    if (written == 0) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            ThrowLastError(operation);
        }
        capacity = convert(nullptr, 0);
        if (capacity == 0) {
            ThrowLastError(operation);
        }
        heap.reset(new Unit[capacity]);
        buffer = heap.get();
        written = convert(buffer, capacity);
        if (written == 0) {
            ThrowLastError(operation);
        }
    }
    // Copied out before the buffers go; the input's terminator was converted too.
    return std::basic_string<Unit>(buffer, written - 1);
}

}  // namespace

std::optional<std::string> WideToNarrow(const wchar_t* text, unsigned code_page) {
    constexpr const char* kOperation = "WideToNarrow";
    if (text == nullptr) {
        return std::nullopt;
    }
    int length = lstrlenW(text) + 1;  // with the terminator, so the output is measured with it
    // UTF-8 reports invalid input itself; other code pages would put in a default or best-fit
    // character, which is caught through `used_default` and refused like invalid input.
    bool utf8 = code_page == CP_UTF8;
    DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    std::string narrow =
        ConvertWithFallback<char>(kOperation, 4LL * length, [&](char* buffer, int capacity) {
            return WideCharToMultiByte(code_page, flags, text, length, buffer, capacity, nullptr,
                                       utf8 ? nullptr : &used_default);
        });
    if (used_default) {
        throw ConversionError(kOperation, HresultFromSystemError(kErrorNoUnicodeTranslation));
    }
    return narrow;
}

std::optional<std::wstring> NarrowToWide(const char* text, unsigned code_page) {
    constexpr const char* kOperation = "NarrowToWide";
    if (text == nullptr) {
        return std::nullopt;
    }
    int length = lstrlenA(text) + 1;  // with the terminator, so the output is measured with it
    return ConvertWithFallback<wchar_t>(kOperation, length, [&](wchar_t* buffer, int capacity) {
        return MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text, length, buffer, capacity);
    });
}

}  // namespace lumora
