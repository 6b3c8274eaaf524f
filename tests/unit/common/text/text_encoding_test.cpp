#include "common/text/text_encoding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace lumora {
namespace {

struct Conversion {
    const char* name;
    std::string euc;
    int result;
    std::string utf8;  // the output text before its terminator
};

// Runs EucToUtf8 and returns the output's first `result` bytes (or, on failure, the text up to
// the first zero), after checking the terminator sits right after the converted bytes.
std::string Convert(const std::string& euc, int* result) {
    std::vector<char> out(kUtf8LineBufferSize, '\x55');
    *result = EucToUtf8(euc.c_str(), out.data());
    size_t length = *result >= 0 ? static_cast<size_t>(*result) : std::strlen(out.data());
    EXPECT_LT(length, static_cast<size_t>(kUtf8LineBufferSize));
    EXPECT_EQ(out[length], '\0');
    return std::string(out.data(), length);
}

TEST(EucToUtf8, Conversions) {
    const Conversion cases[] = {
        {"ascii", "ABC", 3, "ABC"},
        {"empty", "", 0, ""},
        {"hiragana a", "\xA4\xA2", 3, "\xE3\x81\x82"},
        {"wave dash is the full-width tilde", "\xA1\xC1", 3, "\xEF\xBD\x9E"},
        {"vendor circled one", "\xAD\xA1", 3, "\xE2\x91\xA0"},
        {"extension circled one", "\xA9\xA1", 3, "\xE2\x91\xA0"},
        {"three-byte set", "\x8F\xA2\xB7", 3, "\xEF\xBD\x9E"},
        {"trail top bit ignored", "\xA4\x22", 3, "\xE3\x81\x82"},
        {"three-byte trail top bits ignored", "\x8F\x22\x37", 3, "\xEF\xBD\x9E"},
        {"mixed", "a\xA4\xA2\x8F\xA2\xB7z", 8, "a\xE3\x81\x82\xEF\xBD\x9Ez"},
        {"half-width katakana", "\x8E\xB1", kEucUndecodable, ""},
        {"lead byte at end", "x\xA1", kEucUndecodable, "x"},
        {"three-byte lead at end", "\x8F", kEucUndecodable, ""},
        {"three-byte lead and row at end", "\x8F\xA2", kEucUndecodable, ""},
        {"lead 0xA0", "\xA0\xA1", kEucUndecodable, ""},
        {"lead 0xFF", "\xFF\xA1", kEucUndecodable, ""},
        {"lead 0x80", "\x80\xA1", kEucUndecodable, ""},
        {"trail 0xFF", "\xA4\xFF", kEucUndecodable, ""},
        {"trail 0xA0", "\xA4\xA0", kEucUndecodable, ""},
        {"absent two-byte row 0x76", "\xF6\xA1", kEucUndecodable, ""},
        {"absent three-byte row 0x21", "\x8F\xA1\xA1", kEucUndecodable, ""},
        {"text before a failure stays", "AB\xA4\xA2\x8E\xB1", kEucUndecodable, "AB\xE3\x81\x82"},
    };
    for (const Conversion& c : cases) {
        SCOPED_TRACE(c.name);
        int result = 0;
        EXPECT_EQ(Convert(c.euc, &result), c.utf8);
        EXPECT_EQ(result, c.result);
    }
}

TEST(EucToUtf8, EveryTwoByteCharacterAgreesWithItsOwnDecoding) {
    // Whatever path the line converter takes, each character gives what decoding it alone
    // and encoding its code point give, after ASCII and before another character.
    for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const EucChar c = DecodeEucChar(pair.c_str());
            char expected[8] = {};
            const int length = c.length == 2 ? EncodeUtf8(c.code_point, expected) : 0;
            std::string line(1, '<');
            line.append(pair).append(pair);
            int result = 0;
            const std::string got = Convert(line, &result);
            std::string wanted(1, '<');
            if (length == 0) {
                EXPECT_EQ(result, kEucUndecodable) << std::hex << lead << " " << trail;
            } else {
                wanted.append(expected, length).append(expected, length);
            }
            EXPECT_EQ(got, wanted) << std::hex << lead << " " << trail;
        }
    }
}

TEST(EucToUtf8, UnassignedCellBecomesOneZeroByte) {
    char out[kUtf8LineBufferSize];
    // Row 0x22 is present; its cell 0x2F is unassigned.
    EXPECT_EQ(EucToUtf8("a\xA2\xAF"
                        "b",
                        out),
              3);
    EXPECT_EQ(std::string(out, 4), std::string("a\0b\0", 4));
}

TEST(EucToUtf8, OutputMustStayBelowTheBuffer) {
    const std::string a = "\xA4\xA2";  // 3 UTF-8 bytes
    struct Line {
        std::string euc;
        int result;
        size_t kept;  // UTF-8 bytes in the output afterwards
    };
    std::string hiragana_4095;
    for (int i = 0; i < 1365; ++i) {
        hiragana_4095 += a;
    }
    const Line lines[] = {
        {hiragana_4095, 4095, 4095},                   // 1365 x 3
        {hiragana_4095 + "A", kEucLineTooLong, 4095},  // exactly 4096
        {hiragana_4095.substr(2) + "AA" + a, kEucLineTooLong,
         4094},                                // a character straddling the end
        {std::string(4094, 'x'), 4094, 4094},  // the longest received line
        {std::string(4096, 'x'), kEucLineTooLong, 4095},
    };
    for (const Line& line : lines) {
        int result = 0;
        std::string utf8 = Convert(line.euc, &result);
        EXPECT_EQ(result, line.result);
        EXPECT_EQ(utf8.size(), line.kept);
    }
}

TEST(DecodeEucChar, LengthsAndFailures) {
    struct Case {
        const char* bytes;
        int length;
        uint32_t code_point;
    };
    const Case cases[] = {
        {"A", 1, 'A'},      {"\x7F", 1, 0x7F}, {"\xA4\xA2", 2, 0x3042}, {"\x8F\xA2\xB7", 3, 0xFF5E},
        {"\xA4", 0, 0},     {"\x8F", 0, 0},    {"\x8F\xA2", 0, 0},      {"\x8E\xB1", 0, 0},
        {"\xA2\xAF", 2, 0},
    };
    for (const Case& c : cases) {
        EucChar decoded = DecodeEucChar(c.bytes);
        EXPECT_EQ(decoded.length, c.length) << c.bytes;
        if (c.length > 0) {
            EXPECT_EQ(decoded.code_point, c.code_point) << c.bytes;
        }
    }
}

TEST(EncodeUtf8, BoundariesOfEachLength) {
    struct Case {
        uint32_t code_point;
        std::string utf8;
    };
    const Case cases[] = {
        {0x00, std::string(1, '\0')},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xD800, "\xED\xA0\x80"},  // surrogates are encoded as they are
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0x110000, ""},
        {0x01000041, ""},  // not read as its low 24 bits, U+0041
        {0xFFFFFFFF, ""},
    };
    for (const Case& c : cases) {
        char out[5] = {'#', '#', '#', '#', '#'};
        int length = EncodeUtf8(c.code_point, out);
        EXPECT_EQ(std::string(out, length), c.utf8) << std::hex << c.code_point;
        EXPECT_EQ(out[length], '#') << "wrote past its length";
    }
}

// Holds a text so that its terminator is the last readable byte: on POSIX systems the next page is
// inaccessible, so any read past the terminator crashes the test.
class GuardedText {
  public:
    GuardedText() {
#if defined(__unix__)
        page_ = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        void* memory =
            mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            throw std::bad_alloc();
        }
        base_ = static_cast<char*>(memory);
        mprotect(base_ + page_, page_, PROT_NONE);
#else
        page_ = 8192;
        base_ = new char[page_];
#endif
    }
    ~GuardedText() {
#if defined(__unix__)
        munmap(base_, 2 * page_);
#else
        delete[] base_;
#endif
    }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    // Places `bytes` and a terminator at the very end of the readable memory.
    const char* Place(const std::string& bytes) {
        char* start = base_ + page_ - bytes.size() - 1;
        std::memcpy(start, bytes.data(), bytes.size());
        start[bytes.size()] = '\0';
        return start;
    }

  private:
    size_t page_ = 0;
    char* base_ = nullptr;
};

TEST(EucToUtf8, EveryShortSequenceStaysInsideTheText) {
    GuardedText guard;
    char out[kUtf8LineBufferSize];
    for (int b0 = 1; b0 < 256; ++b0) {
        // Any lead byte followed by the end of the text is no character.
        int result = EucToUtf8(guard.Place(std::string(1, static_cast<char>(b0))), out);
        EXPECT_EQ(result, b0 < 0x80 ? 1 : kEucUndecodable) << b0;
        for (int b1 = 1; b1 < 256; ++b1) {
            std::string two = {static_cast<char>(b0), static_cast<char>(b1)};
            result = EucToUtf8(guard.Place(two), out);
            EXPECT_TRUE(result == kEucUndecodable || (result > 0 && out[result] == '\0'));
        }
    }
    for (int b1 = 1; b1 < 256; ++b1) {
        for (int b2 = 1; b2 < 256; ++b2) {
            std::string three = {'\x8F', static_cast<char>(b1), static_cast<char>(b2)};
            int result = EucToUtf8(guard.Place(three), out);
            EXPECT_TRUE(result == kEucUndecodable || (result >= 0 && out[result] == '\0'));
        }
    }
}

TEST(EucToUtf8, RandomLinesNeverOverrun) {
    GuardedText guard;
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> byte(1, 255);
    // Lead and trail bytes of rows that are all present, so that the output fills up.
    std::uniform_int_distribution<int> high(0xB0, 0xF4);
    std::vector<char> out(kUtf8LineBufferSize + 1, '\x55');
    for (int round = 0; round < 300; ++round) {
        std::string line(1 + random() % 4094, '\0');
        for (char& c : line) {
            c = static_cast<char>(round % 2 == 0 ? byte(random) : high(random));
        }
        int result = EucToUtf8(guard.Place(line), out.data());
        ASSERT_TRUE(result >= kEucLineTooLong && result < kUtf8LineBufferSize);
        EXPECT_EQ(out[kUtf8LineBufferSize], '\x55') << "wrote past the buffer";
        if (result >= 0) {
            EXPECT_EQ(out[result], '\0');
        }
    }
}

}  // namespace
}  // namespace lumora
