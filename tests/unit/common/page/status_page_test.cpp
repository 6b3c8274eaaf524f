// Status page handlers driven through the markup scanner: short pages in, record fields out.
#include "common/page/status_page.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "common/library_testing.h"
#include "common/page/page_reader.h"

namespace lumora {
namespace {

struct Parsed {
    RouterStatus status;
    int page_valid;
    int recognised_connection_code;
};

// Feeds UTF-8 `page` line by line (line breaks included) as the page reader does after
// conversion, with a fresh record made current.
Parsed ParsePage(const std::string& page) {
    StatusPageHandlers handlers;
    Parsed parsed{};
    BeginPage(parsed.status);
    library_testing::PageScanner().Reset(handlers);
    std::size_t start = 0;
    while (start < page.size()) {
        std::size_t end = page.find('\n', start);
        end = end == std::string::npos ? page.size() : end + 1;
        char chunk[kLineBufferSize] = {};
        std::string line = page.substr(start, end - start);
        std::memcpy(chunk, line.data(), line.size());
        EXPECT_EQ(library_testing::PageScanner().ScanChunk(chunk, static_cast<int>(line.size())), 0) << line;
        start = end;
    }
    library_testing::SetCurrentStatus(nullptr);
    parsed.page_valid = library_testing::PageValid();
    parsed.recognised_connection_code = library_testing::RecognisedConnectionCode();
    return parsed;
}

// One table row: the heading's h2, then a label cell and a value cell.
std::string Row(const std::string& heading, const std::string& label, const std::string& value) {
    return "<h2>" + heading + "</h2>\n<table><tr><td class=\"small_item_td\">" + label +
           "</td><td class=\"small_item_td2\">" + value + "</td></tr></table>\n";
}

std::string Field(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}
#define FIELD(status, name) Field((status).name, sizeof((status).name))

TEST(StatusPage, BatteryTexts) {
    struct Case {
        const char* value;
        int percent;
        int level;
    } cases[] = {
        {"\n    80%   \n", 80, 8},  // on its own line between blanks, as the router writes it
        {"80%\r\n", 80, 8},
        {"充電中(80%)", -1, -1},
        {"--%", -3, 0},  // unreadable; the range check rejects it
        {"5%", 5, 0},
        {"100%", 100, 10},
        {"\t80%", -3, 0},                            // only blanks are trimmed, not tabs
        {"99999999999999%", INT_MAX, INT_MAX / 10},  // too long for an int: out of every range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Parsed parsed = ParsePage(Row("装置情報", "電池残量", c.value));
        EXPECT_EQ(parsed.status.battery_percent, c.percent);
        EXPECT_EQ(parsed.status.battery_level, c.level);
    }
}

TEST(StatusPage, BatteryKeysOfBothSectionsAndTheLevelOnlyItem) {
    Parsed battery_section = ParsePage(Row("電池残量", "電池残量", "60%"));
    EXPECT_EQ(battery_section.status.battery_percent, 60);
    EXPECT_EQ(battery_section.status.battery_level, 6);

    // The level item sets the level alone; the percentage stays "not reported".
    Parsed level_only = ParsePage(Row("装置情報", "電池残量2", "75%"));
    EXPECT_EQ(level_only.status.battery_level, 7);
    EXPECT_EQ(level_only.status.battery_percent, -2);
}

TEST(StatusPage, ConnectionTexts) {
    struct Case {
        const char* value;
        int code;
        int recognised;
    } cases[] = {
        {"インターネット未接続", 0, 0},
        {"インターネット利用可：無線LAN", 1, 1},
        {"インターネット利用可：LTE&nbsp;(4G)", 3, 3},
        {"インターネット利用可：3G", 4, 4},
        {"インターネット利用可：WiMAX", -1, 0},
        {"インターネット利用可:LTE", -1, 0},  // ASCII colon is another text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Parsed parsed = ParsePage(Row("接続状態", "接続状態", c.value));
        EXPECT_EQ(parsed.status.connection_code, c.code);
        EXPECT_EQ(parsed.recognised_connection_code, c.recognised);
        EXPECT_EQ(FIELD(parsed.status, connection_text), c.value);  // kept raw, references too
    }
}

TEST(StatusPage, RadioTexts) {
    struct Case {
        const char* value;
        int level;
    } cases[] = {
        {"非常に強い", 6}, {"強い", 4},  {"中", 2}, {"弱い", 0},
        {"圏外", -1},      {"普通", -2}, {"", -2},  {"強い(-60dBm)", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ParsePage(Row("接続状態", "電波状態", c.value)).status.radio_level, c.level);
    }
    EXPECT_EQ(ParsePage("").status.radio_level, -1);  // not reported
}

TEST(StatusPage, WordAndNoticeTexts) {
    struct Case {
        const char* value;
        const char* link;
    } links[] = {
        {"enable", "する"}, {"disable   ", "しない"}, {"  disable\r\n", "しない"},
        {"Disable", ""},    {"enabled", ""},          {"", ""},
    };
    for (const Case& c : links) {
        SCOPED_TRACE(c.value);
        Parsed parsed = ParsePage(Row("無線情報", "WiFi WAN側連動", c.value));
        EXPECT_EQ(FIELD(parsed.status, wifi_wan_link), c.link);
    }
    EXPECT_EQ(ParsePage(Row("装置情報", "ファームウェア更新通知", "新ファームウェアへ更新可能です"))
                  .status.firmware_notice,
              1);
    EXPECT_EQ(ParsePage(Row("装置情報", "ファームウェア更新通知", "最新のファームウェアです"))
                  .status.firmware_notice,
              0);
}

TEST(StatusPage, HeadingRemarkInParenthesesIsNotPartOfTheKey) {
    Parsed parsed = ParsePage(Row("データ通信量(毎月1日にリセット)", "上限設定への到達度", "45%") +
                              "<tr><td class=\"small_item_td\">データ通信量(当月)</td>"
                              "<td class=\"small_item_td2\">1.25GB</td></tr>\n");
    EXPECT_EQ(FIELD(parsed.status, limit_reach_text), "45%");
    // The heading stays in force for the following rows; a label's own parentheses are kept.
    EXPECT_EQ(FIELD(parsed.status, volume_month), "1.25GB");
}

TEST(StatusPage, ValueMustBeTheCellsFirstText) {
    // Text inside a nested element arrives after the mode was consumed: the value is empty.
    Parsed nested = ParsePage(Row("装置情報", "電池残量", "<b>80%</b>") +
                              Row("装置情報", "ファームウェアバージョン", "<b>2.0.7</b>"));
    EXPECT_EQ(nested.status.battery_percent, -3);
    EXPECT_EQ(FIELD(nested.status, firmware_version), "");

    // The value on its own line, the end tag on a third: carried over and cut at the break.
    Parsed own_line = ParsePage(
        "<h2>WAN側状態</h2>\n<td class=\"small_item_td\">ドメイン名</td>"
        "<td class=\"small_item_td2\">\n   mobile.example.ne.jp  \r\n</td>\n");
    EXPECT_EQ(FIELD(own_line.status, domain_name), "mobile.example.ne.jp");
}

TEST(StatusPage, CellClassesAndUnknownRows) {
    // The last matching attribute value wins, whatever its name; class names are case-sensitive
    // and other classes leave the item waiting for its value cell.
    Parsed parsed = ParsePage(
        "<h2>Bluetooth情報</h2>\n"
        "<td id=\"small_item_td2\" class=\"small_item_td\">Bluetooth名</td>"
        "<td class=\"wide\">ignored</td>"
        "<td class=\"small_item_td2\">QR-7C1A2B</td>\n"
        "<td class=\"small_item_td\">未知の項目</td><td class=\"small_item_td2\">lost</td>\n"
        "<td class=\"small_item_td\">MACアドレス(Bluetooth)</td>"
        "<td class=\"Small_Item_Td2\">wrong</td>"
        "<td class=\"small_item_td2\">00:1A:7D:DA:71:13</td>\n");
    EXPECT_EQ(FIELD(parsed.status, bt_name), "QR-7C1A2B");
    EXPECT_EQ(FIELD(parsed.status, bt_address), "00:1A:7D:DA:71:13");
}

TEST(StatusPage, TagNamesAreCaseSensitive) {
    Parsed parsed = ParsePage(
        "<h2>装置情報</h2><H2>WiMAX情報</H2>\n"
        "<td class=\"small_item_td\">電池残量</td><TD class=\"small_item_td2\">10%</TD>"
        "<td class=\"small_item_td2\">20%</td>\n"
        "<TITLE>[管理者パスワードの初期設定]</TITLE>\n");
    EXPECT_EQ(parsed.status.battery_percent, 20);
    EXPECT_EQ(parsed.page_valid, 1);
}

TEST(StatusPage, LaterRowOverwritesAndIgnoredItemsChangeNothing) {
    Parsed parsed =
        ParsePage(Row("装置情報", "電池残量", "30%") + Row("装置情報", "電池残量", "40%") +
                  Row("装置情報", "装置名", "80%") + Row("WiMAX情報", "RSSI", "90%"));
    EXPECT_EQ(parsed.status.battery_percent, 40);
    EXPECT_EQ(parsed.status.battery_level, 4);
}

TEST(StatusPage, InitialPasswordTitleClearsPageValid) {
    EXPECT_EQ(ParsePage("<title>[管理者パスワードの初期設定] かんたん設定</title>\n").page_valid,
              0);
    EXPECT_EQ(ParsePage("<title>ステータス情報</title>\n").page_valid, 1);
    // The title text is compared raw: a leading blank is another title.
    EXPECT_EQ(ParsePage("<title> [管理者パスワードの初期設定]</title>\n").page_valid, 1);
    // The text of another element never counts as the title.
    EXPECT_EQ(ParsePage("<h1>[管理者パスワードの初期設定]</h1>\n").page_valid, 1);
}

TEST(StatusPage, TextsAreCutToTheirFieldAtCharacterBoundaries) {
    // 13 three-byte characters do not fit 32 bytes: 10 are kept and the field stays terminated.
    Parsed japanese = ParsePage(Row("Bluetooth情報", "Bluetooth名", "ブルートゥース端末名称です"));
    EXPECT_EQ(FIELD(japanese.status, bt_name), "ブルートゥース端末名");

    // An ASCII text of exactly the capacity fills the field.
    std::string full(32, 'v');
    Parsed ascii = ParsePage(Row("装置情報", "ファームウェアバージョン", full + "tail"));
    EXPECT_EQ(FIELD(ascii.status, firmware_version), full);
    EXPECT_EQ(ascii.status.firmware_notice, 0);  // the neighbouring field is untouched

    // The connection text is cut, but the code is read from the whole text.
    std::string long_text = "インターネット利用可：LTE" + std::string(60, 'x');
    Parsed connection = ParsePage(Row("接続状態", "接続状態", long_text));
    EXPECT_EQ(FIELD(connection.status, connection_text), long_text.substr(0, 64));
    EXPECT_EQ(connection.status.connection_code, 3);
}

TEST(StatusPage, OverlongHeadingAndLabelStayInsideTheirBuffers) {
    std::string heading;
    while (heading.size() < 200) {
        heading += "見出し";
    }
    Parsed parsed =
        ParsePage(Row(heading, std::string(300, 'L'), "80%") + Row("装置情報", "電池残量", "50%"));
    const char* stored = library_testing::PageHeading();
    std::size_t length = strnlen(stored, kHeadingSize);
    ASSERT_LT(length, static_cast<std::size_t>(kHeadingSize));
    // A previous heading is replaced whole; the long one was cut between characters.
    EXPECT_EQ(std::string("装置情報"), stored);
    EXPECT_EQ(parsed.status.battery_percent, 50);

    ParsePage("<h2>" + heading + "</h2>\n");
    std::string cut(library_testing::PageHeading());
    EXPECT_EQ(cut.size(), 126u);  // 42 characters of 3 bytes: the 43rd would pass 127
    EXPECT_EQ(heading.compare(0, cut.size(), cut), 0);
}

}  // namespace
}  // namespace lumora
