// The application state machine: every state/event cell, the button policy and the notice.
#include "state/app_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quirn {
namespace {

// Records what the machine asks of the window as a transcript; the window's own flags are set
// by the test.
class FakeWindow : public AppStateWindow {
  public:
    void EnableControl(int control_id, bool enable) override {
        log.push_back((enable ? "enable " : "disable ") + std::to_string(control_id));
    }
    void FocusControl(int control_id) override {
        log.push_back("focus " + std::to_string(control_id));
    }
    bool ConnectionLost() const override { return connection_lost; }
    bool OperationsFailing() const override { return failing; }
    bool StatusValid() const override { return status_valid; }
    bool WorkStatusHasBtName() const override { return has_bt_name; }
    float WorkLimitReach() const override { return limit_reach; }
    void SetNotice(int kind) override {
        notice = kind;
        log.push_back("notice " + std::to_string(kind));
    }
    void RefreshControls() override { log.push_back("refresh"); }

    bool connection_lost = false;
    bool failing = false;
    bool status_valid = false;
    bool has_bt_name = true;
    float limit_reach = -1.0f;
    int notice = -1;
    std::vector<std::string> log;
};

// The set flags by name, in declaration order.
std::string Flags(const AppState& s) {
    const std::pair<bool, const char*> flags[] = {
        {s.firmwareNotice, "firmwareNotice"}, {s.fetching, "fetching"},
        {s.rebooting, "rebooting"},           {s.enteringStandby, "enteringStandby"},
        {s.switching, "switching"},           {s.checking, "checking"},
        {s.fetchFailed, "fetchFailed"},       {s.stale, "stale"},
        {s.authProblem, "authProblem"},       {s.rebootFailed, "rebootFailed"},
        {s.standbyFailed, "standbyFailed"},   {s.switchFailed, "switchFailed"},
        {s.checkFailed, "checkFailed"},
    };
    std::string text;
    for (const auto& [set, name] : flags) {
        if (set) {
            text += text.empty() ? name : std::string(" ") + name;
        }
    }
    return text;
}

// Brings a machine that the dialog has just started into `target` by the events the program
// posts; the window's log is cleared afterwards.
void DriveTo(AppState& machine, FakeWindow& window, int32_t target) {
    machine.window = &window;
    machine.ChangeState(Starting);
    if (target != Starting) {
        machine.PostEvent(FetchSucceeded);
    }
    const int32_t starts[] = {
        -1, FetchStarted, -1, RebootStarted, StandbyStarted, SwitchStarted, CheckStarted};
    if (target != Starting && target != Ready) {
        machine.PostEvent(starts[target]);
    }
    ASSERT_EQ(machine.state, target);
    window.log.clear();
}

TEST(AppState, StartsInStateZeroWithNoFlagsAndIgnoresFetchStarted) {
    AppState machine;
    EXPECT_EQ(machine.state, Starting);
    EXPECT_EQ(machine.window, nullptr);
    EXPECT_EQ(Flags(machine), "");
    machine.PostEvent(FetchStarted);
    machine.SelectNotice();  // no window yet: nothing to tell
    EXPECT_EQ(machine.state, Starting);
    EXPECT_EQ(Flags(machine), "");
}

struct EventCase {
    int32_t from;
    int32_t event;
    int32_t to;
    const char* flags;  // after the event
};

class AppStateEvents : public testing::TestWithParam<EventCase> {};

TEST_P(AppStateEvents, MovesAndSetsFlags) {
    const EventCase& c = GetParam();
    AppState machine;
    FakeWindow window;
    DriveTo(machine, window, c.from);
    machine.PostEvent(c.event);
    EXPECT_EQ(machine.state, c.to);
    EXPECT_EQ(Flags(machine), c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, AppStateEvents,
    testing::Values(
        // Waiting for the first status: fetch outcomes lead to Ready, commands wait.
        EventCase{Starting, FetchSucceeded, Ready, ""},
        EventCase{Starting, FetchFailed, Ready, "fetchFailed"},
        EventCase{Starting, StatusStale, Ready, "stale"},
        EventCase{Starting, AuthFailed, Ready, "authProblem"},
        EventCase{Starting, FetchStarted, Starting, "fetching"},
        EventCase{Starting, RebootStarted, Starting, "fetching"},
        EventCase{Starting, StandbyStarted, Starting, "fetching"},
        EventCase{Starting, SwitchStarted, Starting, "fetching"},
        EventCase{Starting, CheckStarted, Starting, "fetching"},
        EventCase{Starting, SwitchFailed, Starting, "fetching"},
        EventCase{Starting, FirmwareNotice, Starting, "firmwareNotice fetching"},
        // Fetching: the same outcomes, and commands are accepted.
        EventCase{Fetching, FetchSucceeded, Ready, ""},
        EventCase{Fetching, FetchFailed, Ready, "fetchFailed"},
        EventCase{Fetching, StatusStale, Ready, "stale"},
        EventCase{Fetching, AuthFailed, Ready, "authProblem"},
        EventCase{Fetching, RebootStarted, Rebooting, "rebooting"},
        EventCase{Fetching, StandbyStarted, EnteringStandby, "enteringStandby"},
        EventCase{Fetching, SwitchStarted, Switching, "switching"},
        EventCase{Fetching, CheckStarted, CheckingConnection, "checking"},
        EventCase{Fetching, FirmwareNotice, Fetching, "firmwareNotice fetching"},
        EventCase{Fetching, RebootTimeUp, Fetching, "fetching"},
        // Ready.
        EventCase{Ready, FetchStarted, Fetching, "fetching"},
        EventCase{Ready, RebootStarted, Rebooting, "rebooting"},
        EventCase{Ready, StandbyStarted, EnteringStandby, "enteringStandby"},
        EventCase{Ready, SwitchStarted, Switching, "switching"},
        EventCase{Ready, CheckStarted, CheckingConnection, "checking"},
        EventCase{Ready, AuthFailed, Ready, ""}, EventCase{Ready, StatusStale, Ready, "stale"},
        EventCase{Ready, SwitchFailed, Ready, "switchFailed"},
        EventCase{Ready, CheckFailed, Ready, "checkFailed"},
        EventCase{Ready, RebootFailed, Ready, ""}, EventCase{Ready, StandbyFailed, Ready, ""},
        EventCase{Ready, FetchSucceeded, Ready, ""}, EventCase{Ready, FetchFailed, Ready, ""},
        EventCase{Ready, FirmwareNotice, Ready, "firmwareNotice"}, EventCase{Ready, 5, Ready, ""},
        EventCase{Ready, 11, Ready, ""}, EventCase{Ready, 99, Ready, ""},
        EventCase{Ready, -1, Ready, ""},
        // Rebooting.
        EventCase{Rebooting, RebootFailed, Ready, "rebootFailed"},
        EventCase{Rebooting, RebootTimeUp, Ready, ""},
        EventCase{Rebooting, AuthFailed, Ready, "authProblem rebootFailed"},
        EventCase{Rebooting, FetchSucceeded, Rebooting, "rebooting"},
        EventCase{Rebooting, FetchStarted, Rebooting, "rebooting"},
        EventCase{Rebooting, SwitchTimeUp, Rebooting, "rebooting"},
        EventCase{Rebooting, FirmwareNotice, Rebooting, "rebooting"},
        // Entering standby: no time-up of its own.
        EventCase{EnteringStandby, StandbyFailed, Ready, "standbyFailed"},
        EventCase{EnteringStandby, AuthFailed, Ready, "authProblem standbyFailed"},
        EventCase{EnteringStandby, RebootTimeUp, EnteringStandby, "enteringStandby"},
        EventCase{EnteringStandby, FirmwareNotice, EnteringStandby, "enteringStandby"},
        // Switching.
        EventCase{Switching, SwitchFailed, Ready, "switchFailed"},
        EventCase{Switching, SwitchTimeUp, Ready, ""},
        EventCase{Switching, AuthFailed, Ready, "authProblem switchFailed"},
        EventCase{Switching, CheckTimeUp, Switching, "switching"},
        EventCase{Switching, RebootStarted, Switching, "switching"},
        EventCase{Switching, FirmwareNotice, Switching, "switching"},
        // Checking the connection.
        EventCase{CheckingConnection, CheckFailed, Ready, "checkFailed"},
        EventCase{CheckingConnection, CheckTimeUp, Ready, ""},
        EventCase{CheckingConnection, AuthFailed, Ready, "authProblem checkFailed"},
        EventCase{CheckingConnection, SwitchFailed, CheckingConnection, "checking"},
        EventCase{CheckingConnection, FirmwareNotice, CheckingConnection, "checking"}));

TEST(AppState, EnteringFetchKeepsFetchOutcomesButClearsCommandFailuresAndFirmware) {
    AppState machine;
    FakeWindow window;
    DriveTo(machine, window, Starting);
    machine.PostEvent(FetchFailed);
    machine.PostEvent(StatusStale);
    machine.PostEvent(SwitchStarted);
    machine.PostEvent(AuthFailed);
    machine.PostEvent(CheckFailed);
    machine.PostEvent(FirmwareNotice);
    ASSERT_EQ(Flags(machine),
              "firmwareNotice fetchFailed stale authProblem switchFailed checkFailed");
    machine.PostEvent(FetchStarted);
    EXPECT_EQ(machine.state, Fetching);
    EXPECT_EQ(Flags(machine), "fetching fetchFailed stale authProblem");
}

TEST(AppState, ChangeStateRunsLeaveAndEnterEvenForTheSameState) {
    AppState machine;
    FakeWindow window;
    DriveTo(machine, window, Ready);
    machine.stale = true;
    machine.checkFailed = true;
    machine.ChangeState(Starting);
    EXPECT_EQ(Flags(machine), "fetching");
    machine.ChangeState(Starting);  // leave clears fetching, enter sets it again
    EXPECT_EQ(Flags(machine), "fetching");
}

TEST(AppState, UnknownStateIsStoredWithoutHandlerOrWindowUpdate) {
    AppState machine;
    FakeWindow window;
    DriveTo(machine, window, Rebooting);
    machine.ChangeState(42);
    EXPECT_EQ(machine.state, 42);
    EXPECT_EQ(Flags(machine), "");  // Rebooting was left
    EXPECT_TRUE(window.log.empty());
    machine.ChangeState(Ready);  // no leave handler for 42
    EXPECT_EQ(machine.state, Ready);
}

using Log = std::vector<std::string>;

// Transcripts of the button policy and the notice for one event.
struct PolicyCase {
    const char* name;
    int32_t from;
    int32_t event;
    bool connection_lost;
    bool failing;
    bool has_bt_name;
    Log expected;
};

class AppStateButtons : public testing::TestWithParam<PolicyCase> {};

TEST_P(AppStateButtons, DriveTheWindow) {
    const PolicyCase& c = GetParam();
    AppState machine;
    FakeWindow window;
    DriveTo(machine, window, c.from);
    window.connection_lost = c.connection_lost;
    window.failing = c.failing;
    window.has_bt_name = c.has_bt_name;
    machine.PostEvent(c.event);
    EXPECT_EQ(window.log, c.expected);
}

const Log kEnableAll = {"enable 1003", "enable 1004", "enable 1005", "enable 1002", "enable 1007"};

Log With(Log log, std::initializer_list<std::string> more) {
    log.insert(log.end(), more);
    return log;
}

INSTANTIATE_TEST_SUITE_P(
    Transitions, AppStateButtons,
    testing::Values(
        PolicyCase{"FirstStatusEnablesAll", Starting, FetchSucceeded, false, false, true,
                   With(kEnableAll, {"notice 0", "refresh"})},
        PolicyCase{"StandbyNeedsBluetoothName",
                   Starting,
                   FetchSucceeded,
                   false,
                   false,
                   false,
                   {"enable 1003", "enable 1004", "disable 1005", "enable 1002", "enable 1007",
                    "notice 0", "refresh"}},
        PolicyCase{"FailingHoldsBackRouterButtonsOnly",
                   Starting,
                   FetchSucceeded,
                   false,
                   true,
                   true,
                   {"disable 1004", "disable 1005", "disable 1007", "notice 0", "refresh"}},
        PolicyCase{"ConnectionLostHoldsBackRouterButtonsOnly",
                   Rebooting,
                   RebootTimeUp,
                   true,
                   false,
                   true,
                   {"disable 1004", "disable 1005", "disable 1007", "notice 0", "refresh"}},
        PolicyCase{"AfterFetchButtonsStay", Fetching, FetchSucceeded, false, false, true,
                   Log{"notice 0", "refresh"}},
        PolicyCase{"FetchStartKeepsButtons", Ready, FetchStarted, false, false, true,
                   Log{"notice 1", "refresh"}},
        PolicyCase{"RebootDisablesAll",
                   Ready,
                   RebootStarted,
                   false,
                   false,
                   true,
                   {"focus 1006", "disable 1003", "disable 1004", "disable 1005", "disable 1002",
                    "disable 1007", "notice 7", "refresh"}},
        PolicyCase{"SwitchDisablesAll",
                   Ready,
                   SwitchStarted,
                   false,
                   false,
                   true,
                   {"focus 1006", "disable 1003", "disable 1004", "disable 1005", "disable 1002",
                    "disable 1007", "notice 9", "refresh"}},
        PolicyCase{"StandbyKeepsReloadAndSwitch",
                   Ready,
                   StandbyStarted,
                   false,
                   false,
                   true,
                   {"focus 1006", "enable 1003", "disable 1004", "disable 1005", "disable 1007",
                    "notice 8", "refresh"}},
        PolicyCase{"CheckKeepsButtons", Ready, CheckStarted, false, false, true,
                   Log{"notice 10", "refresh"}},
        PolicyCase{"RebootOverEnablesAll", Rebooting, RebootTimeUp, false, false, true,
                   With(kEnableAll, {"notice 0", "refresh"})},
        PolicyCase{"SwitchRefusedWantsPassword", Switching, AuthFailed, false, false, true,
                   With(kEnableAll, {"notice 6", "refresh"})},
        PolicyCase{"CheckFailedShowsIt",
                   CheckingConnection,
                   CheckFailed,
                   false,
                   false,
                   false,
                   {"enable 1003", "enable 1004", "disable 1005", "enable 1002", "enable 1007",
                    "notice 14", "refresh"}},
        PolicyCase{"FlagWithoutTransitionTouchesNothing", Ready, SwitchFailed, false, false, true,
                   Log{}}),
    [](const testing::TestParamInfo<PolicyCase>& info) { return info.param.name; });

TEST(AppState, DialogStartWithFailingFlagDisablesOnlyRouterButtons) {
    AppState machine;
    FakeWindow window;
    window.failing = true;  // still set from the dialog's construction
    machine.window = &window;
    machine.ChangeState(Starting);
    EXPECT_EQ(window.log,
              (Log{"disable 1004", "disable 1005", "disable 1007", "notice 1", "refresh"}));
    EXPECT_EQ(machine.state, Starting);
}

// One notice rule per row; earlier rules win over later ones.
struct NoticeCase {
    const char* flags;  // names of the flags to set
    bool connection_lost;
    bool status_valid;
    float limit_reach;
    int notice;
};

class AppStateNotice : public testing::TestWithParam<NoticeCase> {};

TEST_P(AppStateNotice, FirstMatchingRuleWins) {
    const NoticeCase& c = GetParam();
    AppState machine;
    FakeWindow window;
    machine.window = &window;
    window.connection_lost = c.connection_lost;
    window.status_valid = c.status_valid;
    window.limit_reach = c.limit_reach;
    const std::string flags = std::string(" ") + c.flags + " ";
    auto has = [&](const char* name) {
        return flags.find(std::string(" ") + name + " ") != std::string::npos;
    };
    machine.firmwareNotice = has("firmwareNotice");
    machine.fetching = has("fetching");
    machine.rebooting = has("rebooting");
    machine.enteringStandby = has("enteringStandby");
    machine.switching = has("switching");
    machine.checking = has("checking");
    machine.fetchFailed = has("fetchFailed");
    machine.stale = has("stale");
    machine.authProblem = has("authProblem");
    machine.rebootFailed = has("rebootFailed");
    machine.standbyFailed = has("standbyFailed");
    machine.switchFailed = has("switchFailed");
    machine.checkFailed = has("checkFailed");
    machine.SelectNotice();
    EXPECT_EQ(window.log, (Log{"notice " + std::to_string(c.notice), "refresh"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AppStateNotice,
    testing::Values(NoticeCase{"", false, true, -1.0f, kNoticeBlank},
                    NoticeCase{"rebooting fetching authProblem", false, true, -1.0f, 7},
                    NoticeCase{"enteringStandby fetching", false, true, -1.0f, 8},
                    NoticeCase{"switching fetching", false, true, -1.0f, 9},
                    NoticeCase{"checking fetching", false, true, -1.0f, 10},
                    NoticeCase{"fetching authProblem", false, true, -1.0f, 1},
                    NoticeCase{"authProblem", true, true, -1.0f, 4},
                    NoticeCase{"authProblem rebootFailed", false, true, -1.0f, 6},
                    NoticeCase{"authProblem standbyFailed", false, true, -1.0f, 6},
                    NoticeCase{"authProblem checkFailed", false, true, -1.0f, 5},
                    NoticeCase{"authProblem", false, true, -1.0f, 5},
                    NoticeCase{"rebootFailed standbyFailed", false, true, -1.0f, 11},
                    NoticeCase{"standbyFailed switchFailed", false, true, -1.0f, 12},
                    NoticeCase{"switchFailed checkFailed", false, true, -1.0f, 13},
                    NoticeCase{"checkFailed stale", false, true, -1.0f, 14},
                    NoticeCase{"stale fetchFailed", false, true, -1.0f, 4},
                    NoticeCase{"fetchFailed", false, true, 100.0f, 3},
                    NoticeCase{"fetchFailed", false, false, -1.0f, 4},
                    NoticeCase{"firmwareNotice", false, true, 100.0f, 15},
                    NoticeCase{"firmwareNotice", false, true, 99.9f, 2},
                    NoticeCase{"", false, false, 250.0f, 15}));

}  // namespace
}  // namespace quirn
