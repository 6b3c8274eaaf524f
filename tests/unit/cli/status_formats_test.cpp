// quirnctl's --format outputs: the data-volume rule, templates and the Prometheus metrics.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/data_volume.h"
#include "cli/status_prometheus.h"
#include "cli/status_template.h"
#include "cli/status_text.h"
#include "common/page/status_page.h"

namespace quirnctl {
namespace {

TEST(DataVolume, ReadsTheRoutersTextsIn1024Steps) {
    struct Case {
        const char* text;
        std::optional<std::uint64_t> bytes;
    } cases[] = {
        {"7GB", 7516192768u},
        {"7.00GB", 7516192768u},
        {"1.25GB", 1342177280u},
        {"2.35GB", 2523293286u},  // 2523293286.4, to the nearest byte
        {"512MB", 536870912u},
        {"1.5KB", 1536u},
        {"1 KB", 1024u},
        {"0B", 0u},
        {"3TB", 3298534883328u},
        {"8192TB", 9007199254740992u},  // 2^53, the last exact one
        {"8193TB", std::nullopt},
        {"", std::nullopt},
        {"設定なし", std::nullopt},
        {"GB", std::nullopt},
        {"7", std::nullopt},
        {"7gb", std::nullopt},
        {"7 GiB", std::nullopt},
        {"7  GB", std::nullopt},
        {"7GB ", std::nullopt},
        {"-1GB", std::nullopt},
        {"+1GB", std::nullopt},
        {"2.GB", std::nullopt},
        {".5GB", std::nullopt},
        {"1e3MB", std::nullopt},
        {"7.0.0GB", std::nullopt},
        {"７GB", std::nullopt},  // a full-width digit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DataVolumeBytes(c.text), c.bytes);
    }
}

lumora::RouterStatus SampleStatus() {
    lumora::RouterStatus s = lumora::FreshRouterStatus();
    auto set = [](char* field, int capacity, const char* text) {
        lumora::CopyFieldText(field, capacity, text, static_cast<int>(std::strlen(text)));
    };
    set(s.firmware_version, sizeof s.firmware_version, "2.0.7");
    s.firmware_notice = 1;
    s.battery_percent = 80;
    s.battery_level = 8;
    s.connection_code = 3;
    set(s.connection_text, sizeof s.connection_text, "インターネット利用可：LTE");
    s.radio_level = 4;
    set(s.volume_limit, sizeof s.volume_limit, "7GB");
    set(s.volume_month, sizeof s.volume_month, "1.25GB");
    set(s.limit_reach_text, sizeof s.limit_reach_text, "17.9%");
    s.limit_reach = 17.9f;
    return s;
}

TEST(StatusTemplate, FillsFieldsAndBraces) {
    struct Case {
        const char* format;
        const char* filled;  // from SampleStatus with result 0
        const char* failed;  // without a record, result 5
    } cases[] = {
        {"{battery_percent}% {radio_level}", "80% 4\n", "% \n"},
        {"{result}: {firmware_version}", "0: 2.0.7\n", "5: \n"},
        {"{{x}} }} {{", "{x} } {\n", "{x} } {\n"},
        {"{{{battery_level}}}", "{8}\n", "{}\n"},
        {"{limit_reach} of {volume_limit}", "17.9 of 7GB\n", " of \n"},
        {"{connection_text}|{spare}|{connection_code}", "インターネット利用可：LTE|0|3\n", "||\n"},
        {"plain", "plain\n", "plain\n"},
        {"", "\n", "\n"},
    };
    const lumora::RouterStatus status = SampleStatus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const StatusTemplate parsed = StatusTemplate::Parse(c.format);
        EXPECT_EQ(parsed.Render(0, &status), c.filled);
        EXPECT_EQ(parsed.Render(5, nullptr), c.failed);
    }
}

// A router's text may carry a line break (also as "&#10;"): a status bar's line and watch's line
// stay one line.
TEST(OneLineOutputs, ControlCharactersInTextsBecomeSpaces) {
    lumora::RouterStatus status = SampleStatus();
    std::strcpy(status.connection_text, "LTE\r\nup\tnow");
    std::strcpy(status.wan_address, "10.0.0.1\n");
    EXPECT_EQ(StatusTemplate::Parse("{connection_text}|{wan_address}").Render(0, &status),
              "LTE  up now|10.0.0.1 \n");
    const std::string line = StatusLine(0, &status);
    EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
    EXPECT_NE(line.find("LTE (LTE  up now), wan 10.0.0.1 , data 1.25GB of 7GB, newer firmware"),
              std::string::npos)
        << line;
}

TEST(StatusTemplate, MistakesAreUsageErrors) {
    struct Case {
        const char* format;
        const char* message;  // part of the error's text
    } cases[] = {
        {"{nope}", "unknown field {nope}"},
        {"{}", "unknown field {}"},
        {"{ result }", "unknown field { result }"},
        {"{Result}", "unknown field {Result}"},
        {"{has_session_token}", "unknown field"},  // not a status field
        {"{{{nope}", "unknown field {nope}"},
        {"{battery_percent", "{ at byte 1 is not closed"},
        {"ok {battery{percent}}", "{ at byte 4 is not closed"},
        {"battery}", "} at byte 8 that closes nothing"},
        {"{result}}", "} at byte 9 that closes nothing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        try {
            StatusTemplate::Parse(c.format);
            ADD_FAILURE() << "no error";
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << error.what();
        }
    }
}

// The sample lines of an exposition, without its # HELP and # TYPE lines.
std::vector<std::string> Samples(const std::string& text) {
    std::vector<std::string> samples;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("# ", 0) != 0) {
            samples.push_back(line);
        }
    }
    return samples;
}

TEST(StatusPrometheus, AFailedReadIsOnlyUpAndResult) {
    EXPECT_EQ(StatusPrometheus(4, nullptr),
              "# HELP quirn_up 1 when the router's status was read, 0 when the read failed.\n"
              "# TYPE quirn_up gauge\n"
              "quirn_up 0\n"
              "# HELP quirn_poll_result Result of the status read: 0 success, 1 to 7 the "
              "failure's code.\n"
              "# TYPE quirn_poll_result gauge\n"
              "quirn_poll_result 4\n");
}

TEST(StatusPrometheus, WritesWhatTheRouterReportedAndLeavesOutTheRest) {
    const std::vector<std::string> common_head = {"quirn_up 1", "quirn_poll_result 0"};
    struct Case {
        const char* name;
        std::function<void(lumora::RouterStatus&)> change;
        std::vector<std::string> samples;  // after quirn_up and quirn_poll_result
    };
    auto text = [](char* field, int capacity, const char* value) {
        lumora::CopyFieldText(field, capacity, value, static_cast<int>(std::strlen(value)));
    };
    const Case cases[] = {
        {"everything reported",
         [](lumora::RouterStatus&) {},
         {"quirn_battery_percent 80", "quirn_battery_level 8", "quirn_battery_charging 0",
          "quirn_radio_level 4",
          "quirn_connection_info{connection=\"lte\",text=\"インターネット利用可：LTE\"} 1",
          "quirn_data_volume_limit_bytes 7516192768", "quirn_data_volume_used_bytes 1342177280",
          "quirn_data_volume_limit_reached_ratio 0.179", "quirn_firmware_update_available 1",
          "quirn_firmware_info{version=\"2.0.7\"} 1"}},
        {"charging, out of range, no limit, nothing known of the connection",
         [&](lumora::RouterStatus& s) {
             s.battery_percent = -1;
             s.battery_level = -1;
             s.radio_level = -1;
             s.connection_code = -2;
             s.firmware_notice = 0;
             text(s.firmware_version, sizeof s.firmware_version, "");
             text(s.volume_limit, sizeof s.volume_limit, "設定なし");
             text(s.volume_month, sizeof s.volume_month, "0B");
             text(s.limit_reach_text, sizeof s.limit_reach_text, "");
             s.limit_reach = -1.0f;
         },
         {"quirn_battery_charging 1", "quirn_data_volume_used_bytes 0",
          "quirn_firmware_update_available 0"}},
        {"unrecognised texts, escaped labels",
         [&](lumora::RouterStatus& s) {
             s.radio_level = -2;
             s.connection_code = -1;
             text(s.connection_text, sizeof s.connection_text, "a\"b\\c\nd\xFF");
             text(s.firmware_version, sizeof s.firmware_version, "v\"1\"");
             text(s.volume_month, sizeof s.volume_month, "1,5GB");
             text(s.limit_reach_text, sizeof s.limit_reach_text, "--%");
             s.limit_reach = 0.0f;
         },
         {"quirn_battery_percent 80", "quirn_battery_level 8", "quirn_battery_charging 0",
          "quirn_connection_info{connection=\"unrecognised\",text=\"a\\\"b\\\\c\\nd\xEF\xBF\xBD\"} 1",
          "quirn_data_volume_limit_bytes 7516192768", "quirn_firmware_update_available 1",
          "quirn_firmware_info{version=\"v\\\"1\\\"\"} 1"}},
        {"a reach without its percent sign, a level row without a percent row",
         [&](lumora::RouterStatus& s) {
             s.battery_percent = -2;
             s.battery_level = 5;
             text(s.limit_reach_text, sizeof s.limit_reach_text, "17.9");
         },
         {"quirn_battery_level 5", "quirn_radio_level 4",
          "quirn_connection_info{connection=\"lte\",text=\"インターネット利用可：LTE\"} 1",
          "quirn_data_volume_limit_bytes 7516192768", "quirn_data_volume_used_bytes 1342177280",
          "quirn_firmware_update_available 1", "quirn_firmware_info{version=\"2.0.7\"} 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lumora::RouterStatus status = SampleStatus();
        c.change(status);
        const std::string out = StatusPrometheus(0, &status);
        std::vector<std::string> expected = common_head;
        expected.insert(expected.end(), c.samples.begin(), c.samples.end());
        EXPECT_EQ(Samples(out), expected) << out;
    }
}

}  // namespace
}  // namespace quirnctl
