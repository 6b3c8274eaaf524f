// The page reader over line sources: whole pages in EUC-JP, the result codes, the checks after
// the page and the session token rule.
#include "common/page/page_reader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "common/library_testing.h"
#include "common/text/text_encoding.h"

namespace lumora {
namespace {

// UTF-8 to EUC-JP for writing test pages inline, by inverting the converter's own decoding.
std::string ToEucJp(const std::string& utf8) {
    static const std::map<uint32_t, std::string> table = [] {
        std::map<uint32_t, std::string> cells;
        for (int lead = 0xA1; lead <= 0xFE; ++lead) {
            for (int trail = 0xA1; trail <= 0xFE; ++trail) {
                char bytes[3] = {static_cast<char>(lead), static_cast<char>(trail), 0};
                EucChar c = DecodeEucChar(bytes);
                if (c.length == 2 && c.code_point != 0) {
                    cells.emplace(c.code_point, std::string(bytes, 2));
                }
            }
        }
        return cells;
    }();
    std::string euc;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        uint32_t code_point = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k) {
            code_point = (code_point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        euc += length == 1 ? std::string(1, utf8[i]) : table.at(code_point);
        i += length;
    }
    return euc;
}

std::string ReadFixture(const char* name) {
    std::ifstream file(std::string(QUIRN_FIXTURE_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A source of the given lines, then an error instead of the end when `fail_at_end` is set.
class ScriptedLineSource : public LineSource {
  public:
    ScriptedLineSource(std::vector<std::string> lines, bool fail_at_end)
        : lines_(std::move(lines)), fail_at_end_(fail_at_end) {}
    int ReadLine(char* buffer) override {
        if (next_ == lines_.size()) {
            buffer[0] = '\0';
            return fail_at_end_ ? -1 : 0;
        }
        const std::string& line = lines_[next_++];
        std::memcpy(buffer, line.data(), line.size());
        buffer[line.size()] = '\0';
        return static_cast<int>(line.size());
    }

  private:
    std::vector<std::string> lines_;
    bool fail_at_end_;
    std::size_t next_ = 0;
};

struct Outcome {
    RouterResult result;
    RouterStatus status;
    int last_error;
};

// Interprets `page` (EUC-JP bytes) into a record that starts out filled with a marker byte,
// so a record that was not copied out is easy to tell.
Outcome Interpret(const std::string& page) {
    Outcome outcome;
    std::memset(&outcome.status, 0x5A, sizeof outcome.status);
    MemoryLineSource source(page.data(), static_cast<long long>(page.size()));
    outcome.result = InterpretPage(source, outcome.status);
    outcome.last_error = lumora::LastLibraryError();
    return outcome;
}

bool Untouched(const RouterStatus& status) {
    RouterStatus marker;
    std::memset(&marker, 0x5A, sizeof marker);
    return std::memcmp(&status, &marker, sizeof marker) == 0;
}

const char kToken[] =
    "<input type=\"hidden\" id=\"SESSION_ID\" name=\"SESSION_ID\" value=\"%s\">\n";

std::string TokenInput(const std::string& token) {
    char line[256];
    std::snprintf(line, sizeof line, kToken, token.c_str());
    return line;
}

// A minimal page that passes every check, in EUC-JP; `rows` are added to its table.
std::string MinimalPage(const std::string& rows = "", const std::string& token = "tok1") {
    return ToEucJp(
        "<html><body>\n<h2>装置情報</h2>\n<table>\n"
        "<tr><td class=\"small_item_td\">電池残量</td><td "
        "class=\"small_item_td2\">50%</td></tr>\n" +
        rows + "</table>\n" + (token.empty() ? "" : TokenInput(token)) + "</body>\n</html>\n");
}

// `page` with `line` inserted where its table ends.
std::string BeforeTableEnd(std::string page, const std::string& line) {
    return page.insert(page.find("</table>"), line);
}

std::string Field(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}
#define FIELD(status, name) Field((status).name, sizeof((status).name))

TEST(PageReader, FixtureGivesTheWholeRecord) {
    Outcome outcome = Interpret(ReadFixture("status_page.html"));
    ASSERT_EQ(outcome.result, kSuccess);
    const RouterStatus& s = outcome.status;
    EXPECT_EQ(FIELD(s, firmware_version), "2.0.7");
    EXPECT_EQ(s.firmware_notice, 1);
    EXPECT_EQ(s.battery_level, 8);
    EXPECT_EQ(s.battery_percent, 80);
    EXPECT_EQ(s.connection_code, 3);
    // Raw as received: references are decoded later, for display.
    EXPECT_EQ(FIELD(s, connection_text), "インターネット利用可：LTE&nbsp;(4G&amp;LTE)");
    EXPECT_EQ(s.radio_level, 4);
    EXPECT_EQ(FIELD(s, wan_address), "10.128.45.67/255.255.255.0");
    EXPECT_EQ(FIELD(s, bt_name), "QR-7C1A2B");
    EXPECT_EQ(FIELD(s, bt_address), "00:1A:7D:DA:71:13");
    EXPECT_EQ(FIELD(s, domain_name), "mobile.example.ne.jp");
    EXPECT_EQ(FIELD(s, wifi_wan_link), "する");
    EXPECT_EQ(FIELD(s, volume_limit), "7.00GB");
    EXPECT_EQ(FIELD(s, volume_month), "1.25GB");
    EXPECT_EQ(FIELD(s, limit_reach_text), "17.9%");
    EXPECT_FLOAT_EQ(s.limit_reach, 17.9f);
    EXPECT_EQ(s.spare, 0);
    EXPECT_STREQ(library_testing::SessionToken(), "6f1c0e9a4b7d2c3e8a5f0b1d9e7c4a21");
    EXPECT_EQ(library_testing::RecognisedConnectionCode(), 3);
    EXPECT_EQ(library_testing::CurrentStatus(), nullptr);  // released after the page
}

TEST(PageReader, FailedPagesLeaveTheCallersRecordUntouched) {
    struct Case {
        const char* name;
        std::string page;
        RouterResult result;
        int last_error;
    } cases[] = {
        {"initial password page", ReadFixture("initial_password_page.html"), kAuthRefused, 0},
        {"page without token", ReadFixture("no_token_page.html"), kPageNotUnderstood, 25},
        {"binary garbage", ReadFixture("garbage.bin"), kPageNotUnderstood, 10},
        {"empty page", "", kPageNotUnderstood, 24},
        {"no battery row", ToEucJp("<title>x</title>\n" + TokenInput("t") + "</body>\n"),
         kPageNotUnderstood, 24},
        {"half-width katakana", BeforeTableEnd(MinimalPage(), "\x8E\xB1\n"), kPageNotUnderstood,
         13},
        {"status line not EUC-JP", "\x8E\xB1\n" + MinimalPage(), kPageNotUnderstood, 10},
        {"tag cut by the line end", ToEucJp("<html>\n<td class=\"small_item_td2\"\n>80%</td>\n"),
         kPageNotUnderstood, 14},
        {"first line cut inside a tag", "<td class=\"x\n" + MinimalPage(), kPageNotUnderstood, 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome outcome = Interpret(c.page);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_TRUE(Untouched(outcome.status));
        if (c.last_error != 0) {
            EXPECT_EQ(outcome.last_error, c.last_error);
        }
    }
}

TEST(PageReader, ReadingStopsAtTheEndOfTheBody) {
    // Lines after the body's end are never read: neither a later row nor a bad line counts.
    std::string row =
        "<tr><td class=\"small_item_td\">電池残量</td><td class=\"small_item_td2\">%s</td></tr>\n";
    auto battery = [&](const char* value) {
        char line[256];
        std::snprintf(line, sizeof line, row.c_str(), value);
        return ToEucJp(line);
    };
    for (const char* end : {"</body>\n", "</BODY>\n", "<p>x</p></body></html>\n"}) {
        SCOPED_TRACE(end);
        std::string page = ToEucJp("<h2>装置情報</h2>\n") + battery("10%") + TokenInput("t") + end +
                           battery("99%") + "\x8E\xB1\n";
        Outcome outcome = Interpret(page);
        EXPECT_EQ(outcome.result, kSuccess);
        EXPECT_EQ(outcome.status.battery_percent, 10);
    }
    // "</Body>" is not an end: reading goes on into the bad line.
    std::string page = MinimalPage();
    page.replace(page.find("</body>"), 7, "</Body>");
    EXPECT_EQ(Interpret(page + "\x8E\xB1\n").result, kPageNotUnderstood);
}

TEST(PageReader, PageClosedBeforeTheBodysEndIsAccepted) {
    std::string page = MinimalPage();
    page.resize(page.find("</body>"));
    Outcome outcome = Interpret(page);
    EXPECT_EQ(outcome.result, kSuccess);
    EXPECT_EQ(outcome.status.battery_percent, 50);
}

TEST(PageReader, SourceErrors) {
    RouterStatus output = FreshRouterStatus();
    ScriptedLineSource broken({"<html>\n", "<body>\n"}, true);
    EXPECT_EQ(InterpretPage(broken, output), kReceiveFailed);
    EXPECT_EQ(lumora::LastLibraryError(), 12);

    ScriptedLineSource dead({}, true);
    EXPECT_EQ(InterpretPage(dead, output), kReceiveFailed);

    // The initial-password page wins over a read error after its title.
    ScriptedLineSource password_page({ToEucJp("<title>[管理者パスワードの初期設定]</title>\n")},
                                     true);
    EXPECT_EQ(InterpretPage(password_page, output), kAuthRefused);
}

TEST(PageReader, ReadPageBodyStartsWithTheLineAlreadyRead) {
    // As in a fetch: the status line is in the buffer, the body comes from the source.
    RouterStatus record;
    BeginPage(record);
    char line[kLineBufferSize] = "HTTP/1.0 200 OK\r\n";
    std::string rest = "Content-Type: text/html\r\n\r\n" + MinimalPage();
    MemoryLineSource source(rest.data(), static_cast<long long>(rest.size()));
    EXPECT_EQ(ReadPageBody(line, source), kSuccess);
    RouterStatus output = FreshRouterStatus();
    EXPECT_EQ(FinishPage(kSuccess, output), kSuccess);
    EXPECT_EQ(output.battery_percent, 50);
}

TEST(PageReader, ValidationRanges) {
    struct Case {
        const char* name;
        void (*change)(RouterStatus&);
        int error;  // 0: accepted
    } cases[] = {
        {"fresh record", [](RouterStatus&) {}, 2},
        {"charging", [](RouterStatus& s) { s.battery_level = s.battery_percent = -1; }, 0},
        {"full", [](RouterStatus& s) { s.battery_level = 10, s.battery_percent = 100; }, 0},
        {"level 11", [](RouterStatus& s) { s.battery_level = 11, s.battery_percent = 100; }, 2},
        {"percent 101", [](RouterStatus& s) { s.battery_level = 10, s.battery_percent = 101; }, 4},
        {"percent unreadable", [](RouterStatus& s) { s.battery_level = 0, s.battery_percent = -3; },
         4},
        {"radio unrecognised",
         [](RouterStatus& s) { s.battery_level = 5, s.battery_percent = 50, s.radio_level = -2; },
         5},
        {"radio 7",
         [](RouterStatus& s) { s.battery_level = 5, s.battery_percent = 50, s.radio_level = 7; },
         5},
        {"notice 2",
         [](RouterStatus& s) {
             s.battery_level = 5, s.battery_percent = 50, s.firmware_notice = 2;
         },
         6},
        {"connection 5",
         [](RouterStatus& s) {
             s.battery_level = 5, s.battery_percent = 50, s.connection_code = 5;
         },
         7},
        {"connection 2",
         [](RouterStatus& s) {
             s.battery_level = 5, s.battery_percent = 50, s.connection_code = 2;
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RouterStatus status;
        BeginPage(status);
        c.change(status);
        library_testing::SetRecognisedConnectionCode(3);
        library_testing::SetLastLibraryError(0);
        EXPECT_EQ(ValidateRouterStatus(), c.error == 0 ? 0 : -1);
        EXPECT_EQ(lumora::LastLibraryError(), c.error);
        library_testing::SetCurrentStatus(nullptr);
    }
}

TEST(PageReader, LimitReachIsTheLeadingDecimalNumber) {
    struct Case {
        const char* text;
        float reach;
    } cases[] = {
        {"45%", 45.0f}, {"17.9%", 17.9f}, {"", -1.0f},    {"--%", 0.0f},        {"100", 100.0f},
        {" 3.5", 3.5f}, {"-2%", -2.0f},   {"1e5%", 1.0f}, {"inf", 0.0f},        {"nan", 0.0f},
        {".5GB", 0.5f}, {"0x10", 0.0f},   {"%", 0.0f},    {"120.25%", 120.25f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_FLOAT_EQ(ReadLimitReach(c.text), c.reach);
    }
    std::string huge(400, '9');
    EXPECT_FLOAT_EQ(ReadLimitReach(huge.c_str()), FLT_MAX);

    // Through validation, also from a text that fills its field without a terminator.
    RouterStatus status;
    BeginPage(status);
    status.battery_level = 5;
    status.battery_percent = 50;
    std::memset(status.limit_reach_text, '7', sizeof status.limit_reach_text);
    ASSERT_EQ(ValidateRouterStatus(), 0);
    EXPECT_FLOAT_EQ(status.limit_reach, 7.777777777e31f);
    library_testing::SetCurrentStatus(nullptr);
}

TEST(PageReader, NoRecognisedConnectionIsLoggedButAccepted) {
    testing::internal::CaptureStdout();
    Outcome outcome = Interpret(MinimalPage());
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(outcome.result, kSuccess);
    EXPECT_NE(log.find("VOP_errno=7"), std::string::npos);
}

TEST(PageReader, SessionTokenRule) {
    // The first matching input wins.
    std::string two = MinimalPage(TokenInput("first"), "second");
    ASSERT_EQ(Interpret(two).result, kSuccess);
    EXPECT_STREQ(library_testing::SessionToken(), "first");

    // Attributes in another order are no token: the page is refused, the old token stays.
    std::string reordered = ToEucJp(
        "<h2>装置情報</h2>\n<td class=\"small_item_td\">電池残量</td>"
        "<td class=\"small_item_td2\">50%</td>\n"
        "<input name=\"SESSION_ID\" id=\"SESSION_ID\" type=\"hidden\" value=\"other\">\n");
    Outcome refused = Interpret(reordered);
    EXPECT_EQ(refused.result, kPageNotUnderstood);
    EXPECT_EQ(refused.last_error, 25);
    EXPECT_STREQ(library_testing::SessionToken(), "first");

    // An empty token still counts as delivered.
    std::string empty = MinimalPage();
    empty.replace(empty.find("tok1"), 4, "");
    EXPECT_EQ(Interpret(empty).result, kSuccess);
    EXPECT_STREQ(library_testing::SessionToken(), "");
}

TEST(PageReader, EveryPageStartsFromACleanParseState) {
    // A page that ends inside its section must not lend its heading to the next page's rows.
    Interpret(ToEucJp("<h2>電池残量</h2>\n"));
    Outcome outcome = Interpret(
        ToEucJp("<td class=\"small_item_td\">電池残量</td><td class=\"small_item_td2\">50%</td>\n" +
                TokenInput("t")));
    EXPECT_EQ(outcome.result, kPageNotUnderstood);
}

TEST(PageReader, MemoryLineSourceKeepsReadLinesContract) {
    std::string text = std::string(5000, 'a') + "\nlast";
    MemoryLineSource source(text.data(), static_cast<long long>(text.size()));
    char buffer[kLineBufferSize];
    EXPECT_EQ(source.ReadLine(buffer), kMaxLineBytes);
    EXPECT_EQ(buffer[kMaxLineBytes], '\0');
    EXPECT_EQ(source.ReadLine(buffer), 5001 - kMaxLineBytes);
    EXPECT_STREQ(buffer + 5000 - kMaxLineBytes, "\n");
    EXPECT_EQ(source.ReadLine(buffer), 4);
    EXPECT_STREQ(buffer, "last");
    EXPECT_EQ(source.ReadLine(buffer), 0);
    EXPECT_STREQ(buffer, "");
}

}  // namespace
}  // namespace lumora
