#include "common/text/base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace lumora {
namespace {

std::string Encode(const std::string& bytes) {
    return Base64Encode(bytes.data(), bytes.size());
}
std::string Decode(const std::string& text) {
    return Base64Decode(text.data(), text.size());
}

TEST(Base64, StandardVectors) {
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"Aladdin:open sesame", "QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
        {std::string("\xFB\xFF\x00", 3), "+/8A"},  // the last two symbols, and a zero byte
    };
    for (const auto& [bytes, text] : vectors) {
        EXPECT_EQ(Encode(bytes), text);
        EXPECT_EQ(Decode(text), bytes);
    }
    EXPECT_EQ(Base64Encode(nullptr, 0), "");
    EXPECT_EQ(Base64Decode(nullptr, 0), "");
}

TEST(Base64, EveryByteValueAndLengthRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    std::mt19937 random(7);
    for (size_t length = 0; length < 200; ++length) {
        std::string bytes = all.substr(random() % 56, length);
        std::string text = Encode(bytes);
        EXPECT_EQ(text.size(), (length + 2) / 3 * 4);
        EXPECT_EQ(text.find_first_not_of(
                      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
                  std::string::npos);
        EXPECT_EQ(Decode(text), bytes);
    }
}

TEST(Base64, DecodesAnyTextWithinItsLength) {
    struct Case {
        const char* name;
        std::string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"padding left out", "Zm9vYg", "foob"},
        {"single character makes no byte", "Q", ""},
        {"only padding", "====", ""},
        {"foreign character is zero bits", "QU*D", std::string("A@\x03", 3)},
        {"padding inside is zero bits", "QQ==QQ==", std::string("A\0\0A", 4)},
        {"line break is zero bits", "Zm9v\n", "foo"},
        {"high bytes", "\xFF\x80\xFE\x81", std::string(3, '\0')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.text), c.bytes) << c.name;
    }
    // Only `length` characters are read: no terminator needed, none looked for.
    const char unterminated[] = {'Z', 'm', '9', 'v', 'Y', 'm', 'F', 'y'};
    EXPECT_EQ(Base64Decode(unterminated, 4), "foo");
    // Any byte outside the alphabet, in any position of a group, reads like "A" (zero bits).
    const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
    for (int b = 0; b < 256; ++b) {
        if (alphabet.find(static_cast<char>(b)) != std::string::npos) {
            continue;
        }
        for (size_t position = 0; position < 4; ++position) {
            std::string text = "QUJD";
            std::string zero_bits = text;
            text[position] = static_cast<char>(b);
            zero_bits[position] = 'A';
            EXPECT_EQ(Decode(text), Decode(zero_bits)) << b << " at " << position;
        }
    }
}

}  // namespace
}  // namespace lumora
