// The stored form of the administrator password, and its bounds on hand-edited input.
#include "state/stored_password.h"

#include <gtest/gtest.h>

#include <string>

#include "common/text/base64.h"

namespace quirn {
namespace {

// The stored form of raw password bytes, built independently of the codec.
std::wstring StoredFromBytes(const std::string& bytes) {
    std::string rotated = bytes;
    for (size_t i = 0; i < rotated.size(); ++i) {
        const auto b = static_cast<unsigned char>(rotated[i]);
        rotated[i] = static_cast<char>(i % 2 == 0 ? (b << 1 | b >> 7) : (b >> 1 | b << 7));
    }
    const std::string text = lumora::Base64Encode(rotated.data(), rotated.size());
    return std::wstring(text.begin(), text.end());
}

struct RoundTrip {
    std::wstring plain;
    std::wstring stored;  // empty: only the round trip is checked
    int bytes;
};

TEST(StoredPassword, EncodesAndDecodesBack) {
    const RoundTrip cases[] = {
        {L"abc", L"wjHG", 3},
        {L"", L"", 0},
        {std::wstring(64, L'a'), L"", 64},
        {L"パスワード", L"", 10},            // two bytes per character in code page 932
        {std::wstring(32, L'日'), L"", 64},  // exactly the limit in code page 932
        {L"p@ss:ｱｲ", L"", 7},                // half-width kana are one byte each
    };
    for (const RoundTrip& c : cases) {
        const EncodedPassword encoded = EncodeStoredPassword(c.plain.c_str());
        ASSERT_GE(encoded.result, 0) << c.bytes;
        EXPECT_EQ(encoded.result, static_cast<int>(encoded.stored.size()));
        if (!c.stored.empty()) {
            EXPECT_EQ(encoded.stored, c.stored);
        }
        const DecodedPassword decoded = DecodeStoredPassword(encoded.stored.c_str());
        EXPECT_EQ(decoded.plain, c.plain);
        EXPECT_EQ(decoded.length, c.bytes);
    }
}

TEST(StoredPassword, RefusesWhatCannotBeStored) {
    const std::pair<const wchar_t*, int> cases[] = {
        {nullptr, -1},
        {L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", -2},  // 65 bytes
        {L"日日日日日日日日日日日日日日日日日日日日日日日日日日日日日日日日a", -2},  // 65 bytes
        {L"smile\U0001F600", -3},  // no such character in code page 932
        {L"yen\u00A5", -3},        // only a best fit ("\\"), which would read back as another text
    };
    for (const auto& [plain, result] : cases) {
        const EncodedPassword encoded = EncodeStoredPassword(plain);
        EXPECT_EQ(encoded.result, result);
        EXPECT_TRUE(encoded.stored.empty());
    }
    EXPECT_EQ(DecodeStoredPassword(nullptr).length, -1);
}

// Only a hand-edited profile holds these; the decoded password must stay bounded.
TEST(StoredPassword, HandEditedStoredTextStaysBounded) {
    struct Case {
        std::wstring stored;
        std::wstring plain;
        int length;
    };
    const Case cases[] = {
        {L"wj HG!\n", L"abc", 3},  // stray characters skipped
        {L"wjH", L"ab", 2},        // a short last group
        {StoredFromBytes(std::string(100, 'x')), std::wstring(64, L'x'), 64},  // cut at 64
        {StoredFromBytes(std::string("ab\0cd", 5)), L"ab", 2},  // ends at the first zero
        {StoredFromBytes("\x82"), L"", 0},                      // half a character: no text
        {std::wstring(5000, L'/'), L"", 0},                     // 0xFF bytes: no text
        {L"ＡＢＣ", L"", 0},                                    // nothing of the alphabet
    };
    for (const Case& c : cases) {
        const DecodedPassword decoded = DecodeStoredPassword(c.stored.c_str());
        EXPECT_EQ(decoded.plain, c.plain);
        EXPECT_EQ(decoded.length, c.length);
    }
}

}  // namespace
}  // namespace quirn
