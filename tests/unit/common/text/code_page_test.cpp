#include "common/text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace lumora {
namespace {

constexpr uint32_t kNoUnicodeTranslation = 0x80070459;

TEST(CodePage, MissingTextGivesMissingText) {
    EXPECT_FALSE(WideToNarrow(nullptr, kCodePageUtf8).has_value());
    EXPECT_FALSE(NarrowToWide(nullptr, kCodePageUtf8).has_value());
}

struct RoundTrip {
    const char* name;
    std::wstring wide;
    unsigned code_page;
    std::string narrow;
};

TEST(CodePage, ConvertsBothWays) {
    const RoundTrip cases[] = {
        {"empty", L"", kCodePageUtf8, ""},
        {"ascii", L"quirn.home.arpa", kCodePageUtf8, "quirn.home.arpa"},
        {"japanese in UTF-8", L"\u3042\u3044\u3046", kCodePageUtf8,
         "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"},
        {"outside the basic plane", L"\U0001F600", kCodePageUtf8, "\xF0\x9F\x98\x80"},
        {"japanese in 932, two bytes each", L"\u3042\u3044\u3046", kCodePageCp932,
         "\x82\xA0\x82\xA2\x82\xA4"},
        {"932 tilde and yen sign byte", L"a\uFF5E\\", kCodePageCp932, "a\x81\x60\\"},
        {"932 half-width katakana", L"\uFF71", kCodePageCp932, "\xB1"},
        {"932 vendor circled one", L"\u2460", kCodePageCp932, "\x87\x40"},
#if !defined(_WIN32)
        // Off Windows the thread's ANSI code page is 932.
        {"thread ANSI is 932", L"\u30D1\u30B9", kCodePageThreadAnsi, "\x83p\x83X"},
#endif
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WideToNarrow(c.wide.c_str(), c.code_page).value(), c.narrow);
        EXPECT_EQ(NarrowToWide(c.narrow.c_str(), c.code_page).value(), c.wide);
    }
}

// Texts longer than the conversion's inline buffer take the heap path; nothing may be cut.
TEST(CodePage, LongTextsConvertWhole) {
    for (size_t count : {42u, 43u, 127u, 128u, 129u, 5000u}) {
        std::wstring wide(count, L'\u6F22');
        std::string utf8 = WideToNarrow(wide.c_str(), kCodePageUtf8).value();
        EXPECT_EQ(utf8.size(), 3 * count);
        EXPECT_EQ(NarrowToWide(utf8.c_str(), kCodePageUtf8).value(), wide);
        std::string cp932 = WideToNarrow(wide.c_str(), kCodePageCp932).value();
        EXPECT_EQ(cp932.size(), 2 * count);
        EXPECT_EQ(NarrowToWide(cp932.c_str(), kCodePageCp932).value(), wide);
    }
    std::string ascii(300, 'p');
    EXPECT_EQ(WideToNarrow(NarrowToWide(ascii.c_str(), kCodePageThreadAnsi)->c_str(),
                           kCodePageThreadAnsi),
              ascii);
}

TEST(CodePage, InvalidNarrowInputIsRefused) {
    struct Case {
        const char* name;
        const char* narrow;
        unsigned code_page;
    };
    const Case cases[] = {
        {"truncated UTF-8", "ab\xE3\x81", kCodePageUtf8},
        {"stray continuation byte", "\x80", kCodePageUtf8},
        {"byte 0xFF", "a\xFF", kCodePageUtf8},
        {"overlong slash", "\xC0\xAF", kCodePageUtf8},
        {"encoded surrogate", "\xED\xA0\x80", kCodePageUtf8},
        {"932 lead byte at the end", "a\x82", kCodePageCp932},
        {"932 undefined cell", "\x85\x40", kCodePageCp932},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            NarrowToWide(c.narrow, c.code_page);
            ADD_FAILURE() << "converted";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.hresult(), kNoUnicodeTranslation);
        }
    }
}

TEST(CodePage, InvalidOrUnmappableWideInputIsRefused) {
    struct Case {
        const char* name;
        std::wstring wide;
        unsigned code_page;
    };
    const wchar_t surrogate = static_cast<wchar_t>(0xD800);
    const Case cases[] = {
        {"unpaired surrogate to UTF-8", std::wstring{L'a', surrogate, L'b'}, kCodePageUtf8},
        {"unpaired surrogate to 932", std::wstring{L'a', surrogate}, kCodePageCp932},
        {"e acute has no 932 form", L"caf\u00E9", kCodePageCp932},
        {"emoji has no 932 form", L"\U0001F600", kCodePageCp932},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            WideToNarrow(c.wide.c_str(), c.code_page);
            ADD_FAILURE() << "converted";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.hresult(), kNoUnicodeTranslation);
        }
    }
}

TEST(CodePage, UnknownCodePageIsAnError) {
    try {
        WideToNarrow(L"abc", 12345);
        ADD_FAILURE() << "converted";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.hresult(), 0x80070057u);
        EXPECT_STREQ(error.what(), "WideToNarrow failed (HRESULT 0x80070057)");
    }
    EXPECT_THROW(NarrowToWide("abc", 12345), ConversionError);
}

TEST(CodePage, HresultOfSystemError) {
    EXPECT_EQ(HresultFromSystemError(1113), 0x80070459u);
    EXPECT_EQ(HresultFromSystemError(0x12345678), 0x80075678u);
    EXPECT_EQ(HresultFromSystemError(0), 0x80004005u);
}

}  // namespace
}  // namespace lumora
