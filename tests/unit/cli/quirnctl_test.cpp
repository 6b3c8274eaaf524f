// quirnctl's pieces that scripts rely on: the JSON it prints and its argument rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/status_json.h"
#include "cli/status_watch.h"

namespace quirnctl {
namespace {

TEST(StatusJson, StringsAreEscapedAndAlwaysValid) {
    struct Case {
        std::string text;
        std::string json;
    } cases[] = {
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"line\r\n\ttab", "\"line\\r\\n\\ttab\""},
        {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\x7f\""},
        {"する", "\"する\""},
        {"\xF0\x9F\x93\xB6", "\"\xF0\x9F\x93\xB6\""},  // four bytes, kept
        {"a\xFF"
         "b",
         "\"a\xEF\xBF\xBD"
         "b\""},                                                       // a byte that starts nothing
        {"\xE3\x81", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                  // a character cut short
        {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                  // overlong "/"
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // a surrogate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(JsonString(c.text), c.json);
    }
}

TEST(StatusJson, FailedReadHasNoStatus) {
    EXPECT_EQ(StatusJson(4, nullptr, true),
              "{\n  \"result\": 4,\n  \"status\": null,\n  \"has_session_token\": true\n}\n");
}

TEST(StatusJson, FullFieldsAndOddNumbersStayInBounds) {
    lumora::RouterStatus status = lumora::FreshRouterStatus();
    std::memset(status.firmware_version, 'v', sizeof status.firmware_version);  // no terminator
    status.limit_reach = std::nanf("");
    std::string json = StatusJson(0, &status, false);
    EXPECT_NE(json.find("\"firmware_version\": \"" + std::string(32, 'v') + "\",\n"),
              std::string::npos);
    EXPECT_NE(json.find("\"limit_reach\": null,"), std::string::npos);
    EXPECT_NE(json.find("\"battery_percent\": -2,"), std::string::npos);
}

// watch prints one object a line: the same object as status prints, only without line breaks.
TEST(StatusJson, OneLineLayoutIsTheIndentedObjectOnOneLine) {
    lumora::RouterStatus status = lumora::FreshRouterStatus();
    std::strcpy(status.connection_text, "a \"quoted\"\nline");
    const lumora::RouterStatus* const records[] = {&status, nullptr};
    for (const lumora::RouterStatus* record : records) {
        std::string indented = StatusJson(0, record, true);
        std::string collapsed;
        for (std::size_t i = 0; i < indented.size(); ++i) {
            if (indented[i] == '\n' && i + 1 < indented.size()) {
                collapsed += ' ';
                i = indented.find_first_not_of(' ', i + 1) - 1;
            } else {
                collapsed += indented[i];
            }
        }
        const std::string one_line = StatusJson(0, record, true, JsonLayout::kOneLine);
        EXPECT_EQ(one_line, collapsed);
        EXPECT_EQ(one_line.find('\n'), one_line.size() - 1);
    }
}

// watch polls every --interval seconds, else as the profile's window would, else every 20 s.
TEST(WatchPlan, IntervalCountAndChangesFromTheOptionsAndTheProfile) {
    using std::chrono::seconds;
    struct Case {
        std::vector<std::string> args;
        std::optional<seconds> profile;
        seconds interval;
        int count;
        bool changes;
    } cases[] = {
        {{}, std::nullopt, seconds(20), 0, false},
        {{}, seconds(60), seconds(60), 0, false},
        {{"--interval", "5"}, seconds(60), seconds(5), 0, false},
        {{"--interval", "86400", "--count", "3"}, std::nullopt, seconds(86400), 3, false},
        {{}, seconds(4294967), seconds(86400), 0, false},  // a profile's longest cycle
        {{"--changes", "--count", "1000000000"}, seconds(1), seconds(1), 1000000000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "no options" : c.args[0]);
        const WatchPlan plan = ReadWatchPlan(ParseCommandArguments("watch", c.args), c.profile);
        EXPECT_EQ(plan.interval, c.interval);
        EXPECT_EQ(plan.count, c.count);
        EXPECT_EQ(plan.changes_only, c.changes);
    }
    const std::vector<std::string> wrong[] = {
        {"--interval", "0"},  {"--interval", "86401"},    {"--interval", "1.5"},
        {"--interval", "+5"}, {"--interval", "99999999999"}, {"--count", "0"},
        {"--count", "-1"},    {"--count", "1000000001"},  {"--count", ""},
    };
    for (const auto& args : wrong) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        EXPECT_THROW(ReadWatchPlan(ParseCommandArguments("watch", args), seconds(20)), UsageError);
    }
}

TEST(Arguments, KnownOptionsOnly) {
    Arguments parsed =
        ParseArguments({"file", "--json", "-", "--profile", "p.ini"}, {"--json"}, {"--profile"});
    EXPECT_EQ(parsed.positional, (std::vector<std::string>{"file", "-"}));
    EXPECT_TRUE(parsed.Has("--json"));
    ASSERT_NE(parsed.Value("--profile"), nullptr);
    EXPECT_EQ(*parsed.Value("--profile"), "p.ini");
    EXPECT_EQ(parsed.Value("--router"), nullptr);

    const std::vector<std::string> wrong[] = {
        {"--jsn"}, {"--json", "--json"}, {"--profile"}, {"-j"}};
    for (const auto& args : wrong) {
        EXPECT_THROW(ParseArguments(args, {"--json"}, {"--profile"}), UsageError);
    }
}

// The usage, each command's help and the parsing come from one table: every option a command's
// help shows is one it accepts, and it accepts no other.
TEST(CommandTable, HelpAndParsingAgree) {
    const std::string usage = OverallUsage();
    for (const Command& command : Commands()) {
        SCOPED_TRACE(command.name);
        EXPECT_EQ(FindCommand(command.name), &command);
        EXPECT_NE(usage.find("  " + Synopsis(command) + "\n      " + command.summary + "\n"),
                  std::string::npos);
        const std::string help = CommandHelp(command);
        EXPECT_EQ(help.rfind("usage: quirnctl " + Synopsis(command) + "\n", 0), 0u) << help;
        if (std::string(command.name) == "help") {
            continue;  // its operand is a command's name, not an option
        }
        std::vector<std::string> every_option;
        for (const OptionUse& use : command.options) {
            EXPECT_NE(help.find(std::string(use.option->name) +
                                (use.option->value ? std::string(" ") + use.option->value : "")),
                      std::string::npos);
            EXPECT_NE(help.find(use.option->help), std::string::npos);
            EXPECT_NE(usage.find(use.option->help), std::string::npos);
            every_option.push_back(use.option->name);
            if (use.option->value != nullptr) {
                every_option.push_back("value");
            }
        }
        Arguments parsed = ParseCommandArguments(command.name, every_option);
        EXPECT_EQ(parsed.flags.size() + parsed.values.size(), command.options.size());
        for (const char* foreign : {"--bogus", "--format", "--password-file", "--help"}) {
            const bool known = std::find(every_option.begin(), every_option.end(), foreign) !=
                               every_option.end();
            if (!known) {
                EXPECT_THROW(ParseCommandArguments(command.name, {foreign, "x"}), UsageError)
                    << foreign;
            }
        }
    }
    EXPECT_EQ(FindCommand("frobnicate"), nullptr);
    // A required option is required.
    EXPECT_THROW(ParseCommandArguments("set-password", {"--json"}), UsageError);
}

TEST(CommandTable, HelpIsAskedWhereAnOptionMayStand) {
    const Command& status = *FindCommand("status");
    EXPECT_TRUE(AsksForHelp(status, {"--help"}));
    EXPECT_TRUE(AsksForHelp(status, {"--json", "-h"}));
    EXPECT_TRUE(AsksForHelp(status, {"--bogus", "--help"}));
    EXPECT_FALSE(AsksForHelp(status, {}));
    EXPECT_FALSE(AsksForHelp(status, {"--router", "--help"}));  // a host named so
    EXPECT_FALSE(AsksForHelp(status, {"--format", "-h"}));
}

}  // namespace
}  // namespace quirnctl
