// The string table as the C++ code sees it, and as the resource compiler builds it from the same
// list: complete, the quoted texts exact, both copies equal.
#include "res/strings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quirn {
namespace {

constexpr int kTableIds[] = {
#define QUIRN_TABLE_ID(id, name, text) id,
    QUIRN_STRING_TABLE(QUIRN_TABLE_ID)
#undef QUIRN_TABLE_ID
};

std::u32string FromUtf8(std::string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out += c;
        i += length;
    }
    return out;
}

std::u32string FromUtf16(const std::u16string& text) {
    std::u32string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        out += c;
    }
    return out;
}

std::u32string FromWide(const wchar_t* text) {
    const std::wstring wide(text);
    if constexpr (sizeof(wchar_t) == 2) {
        return FromUtf16(std::u16string(wide.begin(), wide.end()));
    } else {
        return std::u32string(wide.begin(), wide.end());
    }
}

TEST(StringTableTest, HoldsIds101To171And335) {
    std::vector<int> expected;
    for (int id = 101; id <= 171; ++id) {
        expected.push_back(id);
    }
    expected.push_back(335);
    EXPECT_EQ(std::vector<int>(std::begin(kTableIds), std::end(kTableIds)), expected);
    for (int id : expected) {
        EXPECT_NE(std::string_view(StringTextUtf8(id)), "") << "string " << id;
    }
    for (int id : {0, 100, 172, 334, 336}) {
        EXPECT_STREQ(StringTextUtf8(id), "") << "string " << id;
        EXPECT_STREQ(StringText(id), L"") << "string " << id;
    }
}

TEST(StringTableTest, QuotedTextsAreExact) {
    const std::map<int, std::string_view> quoted = {
        {101, "バージョン情報(&A)..."},
        {104, "??%"},
        {107, "%3d%%"},
        {115, " "},
        {119, "情報の取得に失敗しました。"},
        {126, "接続状態： %s\n"},
        {127, "Quirn Mobile Tool"},
        {128, "Quirn Mobile Tool Version 2.0.7"},
        {129, "ＭＳ Ｐゴシック"},
        {140, "Tahoma"},
        {143, "バッテリ残量： %s"},
        {148,
         "ログインパスワードが長すぎます。\n64文字以内で半角英数、ハイフン、"
         "アンダースコアが有効です。"},
        {149, "tarn-access"},
        {150, "tarn-access"},
        {152, "quirn.home.arpa"},
        {163, "\u3000現在のデータ通信量：\u3000%s"},
        {166, "\u3000データ通信量の上限設定：\u3000%s"},
        {168, "管理者パスワードが違います。"},
        {335, "非常に強い"},
    };
    for (const auto& [id, text] : quoted) {
        EXPECT_EQ(std::string_view(StringTextUtf8(id)), text) << "string " << id;
    }
    EXPECT_EQ(kAppTitleText, 127);
    EXPECT_EQ(kRouterHostNameText, 152);
}

TEST(StringTableTest, OnlineHelpIsOnTheMakersHost) {
    EXPECT_EQ(std::string_view(StringTextUtf8(kOnlineHelpAddressText))
                  .rfind("http://www.vandrel.example/", 0),
              0u);
}

TEST(StringTableTest, WideTextsEqualTheUtf8Texts) {
    for (int id : kTableIds) {
        EXPECT_EQ(FromWide(StringText(id)), FromUtf8(StringTextUtf8(id))) << "string " << id;
    }
}

// The licence notice names the sources of the shipped character tables, one "■" heading each,
// in Windows line breaks for the multi-line edit field.
TEST(StringTableTest, LicenceNoticeCoversTheShippedTables) {
    const std::string_view notice = StringTextUtf8(kLicenseNoticeText);
    for (std::string_view heading :
         {"■JIS0212.TXT (Unicode, Inc.)\r\n", "■JAPANESE.TXT Ver.c02 (Apple Computer, Inc.)\r\n",
          "■Windows コードページ 932 (Microsoft Corporation)\r\n", "■eucJP-ms"}) {
        EXPECT_NE(notice.find(heading), std::string_view::npos) << heading;
    }
    EXPECT_EQ(notice.find("libxml2"), std::string_view::npos);
    for (size_t at = notice.find('\n'); at != std::string_view::npos;
         at = notice.find('\n', at + 1)) {
        EXPECT_EQ(notice[at - 1], '\r') << "bare line feed at " << at;
    }
}

#ifdef QUIRN_RESOURCE_FILE
// Strings of a compiled resource file (.res): {id: text}.
std::map<int, std::u32string> ReadResourceStrings(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    auto word = [&](size_t at) {
        return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                     static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    auto dword = [&](size_t at) { return uint32_t{word(at)} | uint32_t{word(at + 2)} << 16; };
    std::map<int, std::u32string> strings;
    for (size_t at = 0; at + 16 <= bytes.size();) {
        const uint32_t data_size = dword(at);
        const uint32_t header_size = dword(at + 4);
        const bool string_block = word(at + 8) == 0xFFFF && word(at + 10) == 6 &&
                                  word(at + 12) == 0xFFFF;  // RT_STRING, numbered block
        if (string_block) {
            const int first_id = (word(at + 14) - 1) * 16;
            size_t p = at + header_size;
            for (int i = 0; i < 16; ++i) {
                const uint16_t length = word(p);
                p += 2;
                if (length) {
                    std::u16string text;
                    for (uint16_t k = 0; k < length; ++k, p += 2) {
                        text += static_cast<char16_t>(word(p));
                    }
                    strings[first_id + i] = FromUtf16(text);
                }
            }
        }
        at += header_size + ((data_size + 3) & ~3u);
    }
    return strings;
}
#endif

TEST(StringTableTest, CompiledResourceHoldsTheSameTexts) {
#ifndef QUIRN_RESOURCE_FILE
    GTEST_SKIP() << "no resource compiler on this build host";
#else
    const auto compiled = ReadResourceStrings(QUIRN_RESOURCE_FILE);
    ASSERT_EQ(compiled.size(), std::size(kTableIds));
    for (int id : kTableIds) {
        const auto found = compiled.find(id);
        ASSERT_NE(found, compiled.end()) << "string " << id;
        EXPECT_EQ(found->second, FromUtf8(StringTextUtf8(id))) << "string " << id;
    }
#endif
}

}  // namespace
}  // namespace quirn
