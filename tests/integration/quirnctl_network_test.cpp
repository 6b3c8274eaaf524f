// Tests of quirnctl's router commands, run in-process against quirn-sim: what each prints, the
// exit status in normal and fault scenarios, and that no password ever shows.
#include <gtest/gtest.h>
#include <unistd.h>  // getpid

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/status_watch.h"
#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/net/router_commands.h"
#include "common/library_testing.h"
#include "common/router_result.h"
#include "tests/support/library_on_simulator.h"

namespace lumora {
namespace {

using quirn::sim::Connection;
using quirn::sim::Fault;
using quirn::sim::RouterState;
using testing_support::LibraryOnSimulatorTest;
using RunFunction = int (*)(const std::vector<std::string>&);

struct Outcome {
    int exit_status;
    std::string out;  // the result, for scripts and people
    std::string err;  // the library's diagnostic lines
};

class QuirnctlTest : public LibraryOnSimulatorTest {
  public:
    // Runs a command as quirnctl's main does: diagnostics on standard error, a usage error
    // gives exit status 64.
    Outcome Quirnctl(RunFunction run, const std::vector<std::string>& args) {
        lumora::SetDiagnosticStream(stderr);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        int exit_status;
        try {
            exit_status = run(args);
        } catch (const quirnctl::UsageError&) {
            exit_status = quirnctl::kExitUsage;
        }
        Outcome outcome{exit_status, testing::internal::GetCapturedStdout(),
                        testing::internal::GetCapturedStderr()};
        lumora::SetDiagnosticStream(nullptr);
        return outcome;
    }

    // A password file holding `content`, named after the process: ctest runs each test in a
    // process of its own at the same time as others, and they share the temporary folder.
    std::string PasswordFile(const std::string& content) {
        const std::string path = testing::TempDir() + "quirnctl_password_" +
                                 std::to_string(getpid()) + "_" + std::to_string(++file_count_) +
                                 ".txt";
        std::ofstream(path, std::ios::binary) << content;
        files_.push_back(path);
        return path;
    }

    void TearDown() override {
        for (const std::string& path : files_) {
            std::remove(path.c_str());
        }
        LibraryOnSimulatorTest::TearDown();
    }

    std::vector<std::string> Paths() {
        std::vector<std::string> paths;
        for (const quirn::sim::ReceivedRequest& request : sim().ReceivedRequests()) {
            paths.push_back(request.method + " " + request.path);
        }
        return paths;
    }

  private:
    int file_count_ = 0;
    std::vector<std::string> files_;
};

TEST_F(QuirnctlTest, StatusExitsWithTheResultOfThePoll) {
    struct Case {
        const char* name;
        std::function<void(QuirnctlTest&)> setup;
        std::vector<std::string> args;
        int exit_status;
        const char* printed;
    };
    auto fault = [](Fault f) { return [f](QuirnctlTest& t) { t.sim().SetFault(f); }; };
    const Case cases[] = {
        {"normal", [](QuirnctlTest&) {}, {}, kSuccess, "battery: 80% (level 8 of 10)\n"},
        {"json", [](QuirnctlTest&) {}, {"--json"}, kSuccess, "\"battery_percent\": 80,"},
        {"named router",
         [](QuirnctlTest&) {},
         {"--router", "localhost"},
         kSuccess,
         "result: 0 (success)\n"},
        {"unresolvable router",
         [](QuirnctlTest&) {},
         {"--router", testing_support::UnresolvableHost()},
         kConnectFailed,
         "result: 1 "},
        {"refused",
         [](QuirnctlTest& t) { t.StopSim(); },
         {"--json"},
         kConnectFailed,
         "\"result\": 1,\n  \"status\": null,"},
        {"401", fault(Fault::kUnauthorized), {}, kAuthRefused, "result: 4 "},
        {"302", fault(Fault::kRedirect), {}, kUnexpectedResponse, "result: 6 "},
        {"no token", fault(Fault::kNoToken), {}, kPageNotUnderstood, "result: 5 "},
        {"initial-password page",
         [](QuirnctlTest& t) {
             t.sim().UpdateState([](RouterState& s) { s.initial_password_mode = true; });
         },
         {},
         kAuthRefused,
         "result: 4 "},
        {"prometheus",
         [](QuirnctlTest&) {},
         {"--format", "prometheus"},
         kSuccess,
         "\nquirn_up 1\n# HELP quirn_poll_result"},
        {"prometheus, refused",
         [](QuirnctlTest& t) { t.StopSim(); },
         {"--format", "prometheus"},
         kConnectFailed,
         "\nquirn_up 0\n"},
        {"template",
         [](QuirnctlTest&) {},
         {"--format", "{result}:{battery_percent}"},
         kSuccess,
         "0:80\n"},
        {"template, refused",
         [](QuirnctlTest& t) { t.StopSim(); },
         {"--format", "{result}:{battery_percent}"},
         kConnectFailed,
         "1:\n"},
        {"stray argument", [](QuirnctlTest&) {}, {"extra"}, quirnctl::kExitUsage, ""},
        {"empty router", [](QuirnctlTest&) {}, {"--router", ""}, quirnctl::kExitUsage, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartSim(DefaultOptions());
        c.setup(*this);
        const Outcome outcome = Quirnctl(&quirnctl::RunStatus, c.args);
        EXPECT_EQ(outcome.exit_status, c.exit_status);
        EXPECT_NE(outcome.out.find(c.printed), std::string::npos) << outcome.out;
    }
}

TEST_F(QuirnctlTest, CommandsReadTheStatusPageThenLogInThenPost) {
    const std::string file = PasswordFile("quirn-admin\r\nsecond line\n");
    const Outcome outcome = Quirnctl(&quirnctl::RunReboot, {"--password-file", file});
    EXPECT_EQ(outcome.exit_status, kSuccess);
    EXPECT_EQ(outcome.out, "reboot: success\n");
    EXPECT_EQ(Paths(), (std::vector<std::string>{"GET /mobile/mobile.cgi/info_remote_main",
                                                 "GET /index.cgi/info_btn",
                                                 "POST /index.cgi/info_btn_reboot"}));
    for (const char* secret : {"quirn-admin", "YWRtaW46", "second line"}) {
        EXPECT_EQ(outcome.out.find(secret), std::string::npos);
        EXPECT_EQ(outcome.err.find(secret), std::string::npos);
    }
}

TEST_F(QuirnctlTest, CommandsExitWithTheirResult) {
    struct Case {
        const char* name;
        RunFunction run;
        std::vector<std::string> args;
        std::function<void(QuirnctlTest&)> setup;
        int exit_status;
        std::size_t requests;   // how many requests the router saw
        const char* last_path;  // the last of them
    };
    const std::string admin = PasswordFile("quirn-admin\n");
    const std::string wrong = PasswordFile("wrong\n");
    const Case cases[] = {
        {"switch lte3g",
         &quirnctl::RunSwitch,
         {"lte3g", "--password-file", admin},
         [](QuirnctlTest& t) {
             t.sim().UpdateState([](RouterState& s) { s.connection = Connection::kWirelessLan; });
         },
         kSuccess,
         3,
         "POST /index.cgi/info_btn_lte3g"},
        {"standby",
         &quirnctl::RunStandby,
         {"--password-file", admin, "--json"},
         [](QuirnctlTest&) {},
         kSuccess,
         3,
         "POST /index.cgi/info_btn_standby"},
        {"wrong password",
         &quirnctl::RunReboot,
         {"--password-file", wrong},
         [](QuirnctlTest&) {},
         kAuthRefused,
         2,
         "GET /index.cgi/info_btn"},
        {"no password given",
         &quirnctl::RunReboot,
         {},
         [](QuirnctlTest&) {},
         kAuthRefused,
         2,
         "GET /index.cgi/info_btn"},
        // The status read before the command supplies the token the fall-back posts with.
        {"no administrator pages",
         &quirnctl::RunSwitch,
         {"wlan", "--password-file", admin},
         [](QuirnctlTest& t) { t.sim().SetFault(Fault::kNoAdminPages); },
         kSuccess,
         3,
         "POST /mobile/mobile.cgi/info_remote_main_wlan"},
        {"router unreachable",
         &quirnctl::RunStandby,
         {"--password-file", admin},
         [](QuirnctlTest& t) { t.StopSim(); },
         kConnectFailed,
         0,
         nullptr},
        {"dropped reboot",
         &quirnctl::RunReboot,
         {"--password-file", admin},
         [](QuirnctlTest& t) { t.sim().SetFault(Fault::kRebootDropsConnection); },
         kSuccess,
         3,
         "POST /index.cgi/info_btn_reboot"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartSim(DefaultOptions());
        c.setup(*this);
        const Outcome outcome = Quirnctl(c.run, c.args);
        EXPECT_EQ(outcome.exit_status, c.exit_status) << outcome.out;
        if (c.requests > 0) {
            ASSERT_TRUE(sim().WaitForRequests(c.requests, std::chrono::milliseconds(1000)));
            EXPECT_EQ(Paths().size(), c.requests);
            EXPECT_EQ(Paths().back(), c.last_path);
        } else {
            EXPECT_EQ(sim().RequestCount(), 0u);
        }
    }
    StartSim(DefaultOptions());
    EXPECT_EQ(Quirnctl(&quirnctl::RunSwitch, {"wlan", "--password-file", admin}).exit_status,
              kSuccess);
    EXPECT_EQ(sim().state().connection, Connection::kWirelessLan);
}

TEST_F(QuirnctlTest, CheckAsksTheMakersHost) {
    Outcome outcome = Quirnctl(&quirnctl::RunCheck, {});
    EXPECT_EQ(outcome.exit_status, kSuccess);
    EXPECT_EQ(outcome.out, "check: success\n");
    sim().SetFault(Fault::kRedirect);
    outcome = Quirnctl(&quirnctl::RunCheck, {"--json"});
    EXPECT_EQ(outcome.exit_status, kUnexpectedResponse);
    EXPECT_NE(outcome.out.find("\"result\": 6,"), std::string::npos);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"GET /function/wimax/index.html",
                                                 "GET /function/wimax/index.html"}));
}

TEST_F(QuirnctlTest, SetPasswordSetsItAndNeverShowsIt) {
    sim().UpdateState([](RouterState& s) { s.initial_password_mode = true; });
    const std::string secret = "Fresh_Secret-42";
    const Outcome outcome =
        Quirnctl(&quirnctl::RunSetPassword, {"--password-file", PasswordFile(secret + "\n")});
    EXPECT_EQ(outcome.exit_status, kSuccess);
    EXPECT_EQ(outcome.out, "set-password: success\n");
    EXPECT_EQ(sim().state().admin_password, secret);
    EXPECT_EQ(outcome.out.find(secret), std::string::npos);
    EXPECT_EQ(outcome.err.find(secret), std::string::npos);

    // Done once: the router now refuses a second set.
    EXPECT_EQ(
        Quirnctl(&quirnctl::RunSetPassword, {"--password-file", PasswordFile("x\n")}).exit_status,
        kUnexpectedResponse);
}

// 22 kanji are 44 bytes stored and 66 in UTF-8, the most a command's log-in can carry.
std::string Kanji(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "漢";
    }
    return text;
}

TEST_F(QuirnctlTest, APasswordAtTheLogInLimitIsSetAndThenLogsIn) {
    sim().UpdateState([](RouterState& s) { s.initial_password_mode = true; });
    const std::string file = PasswordFile(Kanji(22) + "\n");
    EXPECT_EQ(Quirnctl(&quirnctl::RunSetPassword, {"--password-file", file}).exit_status,
              kSuccess);
    EXPECT_EQ(sim().state().admin_password, Kanji(22));
    EXPECT_EQ(Quirnctl(&quirnctl::RunReboot, {"--password-file", file}).exit_status, kSuccess);
}

struct WatchRun {
    int exit_status;
    std::string out;
    std::vector<std::chrono::steady_clock::duration> waits;  // from the first poll's due time
};

// Runs `watch` on the simulator with `plan`; before the poll after wait N, `between[N]` (if
// any) changes the simulator. No wait takes any time; each is recorded.
WatchRun Watch(QuirnctlTest& test, const quirnctl::WatchPlan& plan,
               const std::vector<std::function<void(QuirnctlTest&)>>& between = {}) {
    WatchRun run{0, "", {}};
    const auto start = std::chrono::steady_clock::now();
    quirnctl::WatchSeams seams;
    seams.poll = [](RouterStatus& status) {
        return GetRouterInfo(kStatusPage, nullptr, kStatusPageUser, kStatusPagePassword, status);
    };
    seams.wait_until = [&](std::chrono::steady_clock::time_point due) {
        const std::size_t waits = run.waits.size();
        if (waits < between.size() && between[waits]) {
            between[waits](test);
        }
        run.waits.push_back(due - start);
        return true;
    };
    seams.write = [&](std::string_view text) {
        run.out += text;
        return true;
    };
    seams.time_stamp = [] { return std::string("2026-12-11 15:20:01"); };
    run.exit_status = quirnctl::WatchStatus(plan, seams);
    return run;
}

quirnctl::WatchPlan WatchPlan(int count, quirnctl::StatusFormat::Kind kind, bool changes_only) {
    quirnctl::WatchPlan plan;
    plan.interval = std::chrono::seconds(30);
    plan.count = count;
    plan.format.kind = kind;
    plan.changes_only = changes_only;
    return plan;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        EXPECT_NE(end, std::string::npos) << "the last line has no line break";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

constexpr auto kText = quirnctl::StatusFormat::Kind::kText;
constexpr auto kJson = quirnctl::StatusFormat::Kind::kJson;
auto SetBattery(int percent) {
    return [percent](QuirnctlTest& t) {
        t.sim().UpdateState([percent](RouterState& s) { s.battery_percent = percent; });
    };
}
auto SetFault(Fault fault) {
    return [fault](QuirnctlTest& t) { t.sim().SetFault(fault); };
}
void ClearFaults(QuirnctlTest& t) {
    t.sim().ClearFaults();
}

TEST_F(QuirnctlTest, WatchPrintsOneLinePerPollAndSurvivesAFailedOne) {
    const WatchRun outcome =
        Watch(*this, WatchPlan(4, kText, false), {SetFault(Fault::kNoToken), ClearFaults});
    EXPECT_EQ(outcome.exit_status, kSuccess);
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 4u) << outcome.out;
    const std::string good =
        "2026-12-11 15:20:01 battery 80% (level 8 of 10), radio strong, LTE (";
    EXPECT_EQ(lines[0].substr(0, good.size()), good);
    EXPECT_EQ(lines[1], "2026-12-11 15:20:01 result 5: the page was not understood");
    EXPECT_EQ(lines[2], lines[0]);
    EXPECT_EQ(lines[3], lines[0]);
    EXPECT_NE(lines[0].find(", wan 203.0.113.45/255.255.255.0, data 2.45GB of 7GB"),
              std::string::npos)
        << lines[0];
    EXPECT_EQ(sim().RequestCount(), 4u);
    // Three waits, each due one interval after the last poll was (instant polls keep the times).
    ASSERT_EQ(outcome.waits.size(), 3u);
    for (std::size_t i = 0; i < outcome.waits.size(); ++i) {
        EXPECT_GE(outcome.waits[i], std::chrono::seconds(30 * (i + 1)));
        EXPECT_LT(outcome.waits[i], std::chrono::seconds(30 * (i + 1) + 1));
    }
}

TEST_F(QuirnctlTest, WatchEndsWithTheLastPollsResult) {
    const WatchRun outcome = Watch(*this, WatchPlan(2, kJson, false), {SetFault(Fault::kNoToken)});
    EXPECT_EQ(outcome.exit_status, kPageNotUnderstood);
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 2u) << outcome.out;
    EXPECT_EQ(lines[0].substr(0, 47), "{ \"result\": 0, \"status\": { \"firmware_version\": ");
    // The first poll's token stays the library's until a page brings another.
    EXPECT_EQ(lines[1], "{ \"result\": 5, \"status\": null, \"has_session_token\": true }");
}

TEST_F(QuirnctlTest, WatchChangesPrintsOnlyWhatDiffersFromTheLastLinePrinted) {
    // Polls: 80 %, 80 %, 70 %, failure, failure, 70 %.
    const WatchRun outcome =
        Watch(*this, WatchPlan(6, kText, true),
              {nullptr, SetBattery(70), SetFault(Fault::kNoToken), nullptr, ClearFaults});
    EXPECT_EQ(outcome.exit_status, kSuccess);
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 4u) << outcome.out;
    EXPECT_NE(lines[0].find("battery 80%"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("battery 70%"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("result 5"), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3], lines[1]);
    EXPECT_EQ(sim().RequestCount(), 6u);
}

TEST_F(QuirnctlTest, AnUndecodableStoredPasswordStopsOnlyTheCommandsThatLogInWithIt) {
    // (PasswordFile makes any temporary file.)
    const std::string profile =
        PasswordFile("[router_info]\r\nconnect_domain=127.0.0.1\r\nconnect_rt_pw=////\r\n");
    EXPECT_EQ(Quirnctl(&quirnctl::RunReboot, {"--profile", profile}).exit_status,
              quirnctl::kExitUsage);
    EXPECT_EQ(sim().RequestCount(), 0u);
    EXPECT_EQ(Quirnctl(&quirnctl::RunStatus, {"--profile", profile}).exit_status, kSuccess);
    EXPECT_EQ(Quirnctl(&quirnctl::RunWatch, {"--profile", profile, "--count", "1"}).exit_status,
              kSuccess);
    const std::string admin = PasswordFile("quirn-admin\n");
    EXPECT_EQ(Quirnctl(&quirnctl::RunReboot, {"--profile", profile, "--password-file", admin})
                  .exit_status,
              kSuccess);
}

TEST_F(QuirnctlTest, BadArgumentsAreUsageErrorsAndSendNothing) {
    const std::string missing = testing::TempDir() + "quirnctl_no_such_password_file";
    const std::vector<std::pair<RunFunction, std::vector<std::string>>> cases = {
        {&quirnctl::RunSwitch, {}},
        {&quirnctl::RunSwitch, {"lte"}},
        {&quirnctl::RunSwitch, {"wlan", "lte3g"}},
        {&quirnctl::RunReboot, {"now"}},
        {&quirnctl::RunReboot, {"--password-file", missing}},
        {&quirnctl::RunStandby, {"--password"}},
        {&quirnctl::RunCheck, {"--router", "127.0.0.1"}},
        {&quirnctl::RunStatus, {"--format", "{battery_percent"}},
        {&quirnctl::RunStatus, {"--format", "{battery}"}},
        {&quirnctl::RunStatus, {"--format", "json", "--json"}},
        {&quirnctl::RunStatus, {"--format", "xml"}},
        {&quirnctl::RunReboot, {"--format", "json"}},
        {&quirnctl::RunWatch, {"--interval", "0"}},
        {&quirnctl::RunWatch, {"--interval", "1.5"}},
        {&quirnctl::RunWatch, {"--interval", "86401"}},
        {&quirnctl::RunWatch, {"--interval", " 5"}},
        {&quirnctl::RunWatch, {"--count", "0"}},
        {&quirnctl::RunWatch, {"--count", "-1"}},
        {&quirnctl::RunWatch, {"--count", "3x"}},
        {&quirnctl::RunWatch, {"--changes", "--changes"}},
        {&quirnctl::RunWatch, {"--format", "{battery}"}},
        {&quirnctl::RunWatch, {"--password-file", "x"}},
        {&quirnctl::RunWatch, {"now"}},
        {&quirnctl::RunSetPassword, {}},
        {&quirnctl::RunSetPassword, {"--password-file", PasswordFile("\n")}},
        {&quirnctl::RunSetPassword, {"--password-file", PasswordFile(std::string(65, 'p'))}},
        {&quirnctl::RunSetPassword, {"--password-file", PasswordFile(std::string("a\0b", 3))}},
        // One past the log-in's limit: it could be set, but no command could log in with it.
        {&quirnctl::RunSetPassword, {"--password-file", PasswordFile(Kanji(23))}},
        {&quirnctl::RunReboot, {"--password-file", PasswordFile(Kanji(23))}},
    };
    for (const auto& [run, args] : cases) {
        SCOPED_TRACE(args.empty() ? "" : args[0]);
        EXPECT_EQ(Quirnctl(run, args).exit_status, quirnctl::kExitUsage);
    }
    EXPECT_EQ(sim().RequestCount(), 0u);
}

}  // namespace
}  // namespace lumora
