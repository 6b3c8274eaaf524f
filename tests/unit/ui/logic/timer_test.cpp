// The main window's timers: when polls fall due, when commands' in-progress states end, the
// command re-issue tick and the layout tick.
#include <gtest/gtest.h>

#include "tests/support/main_window_fakes.h"

namespace quirn {
namespace {

using namespace testing_fakes;

class TimerTest : public LogicFixture {
  protected:
    // Ticks once a second until a poll starts; the seconds since the previous poll began.
    int64_t SecondsUntilNextPoll() {
        const int64_t started = logic->Times().pollStarted;
        for (int i = 0; i < 100; ++i) {
            Tick();
            if (!workers.queue.empty()) {
                workers.RunAll();
                return clock.now - started;
            }
        }
        return -1;
    }
};

TEST_F(TimerTest, PollFallsDueAfterMoreThanTheReloadCycle) {
    struct Case {
        const wchar_t* reload_cycle;
        int64_t seconds;
    };
    const Case cases[] = {{L"20000", 21}, {L"20999", 21}, {L"5000", 6}, {L"500", 1}, {L"0", 1}};
    for (const Case& c : cases) {
        profile.At(L"application_info", L"reload_cycle") = c.reload_cycle;
        logic->LoadSettings(DesktopRect{});
        if (State() == Starting) {
            logic->StartPolling();
            workers.RunAll();
        }
        EXPECT_EQ(SecondsUntilNextPoll(), c.seconds) << c.reload_cycle;
        EXPECT_EQ(SecondsUntilNextPoll(), c.seconds) << c.reload_cycle;
    }
}

TEST_F(TimerTest, NothingIsDueBeforeTheFirstPollHasFinished) {
    StartUp();
    Tick(100);
    EXPECT_EQ(workers.queue.size(), 1u);  // only the first poll
    EXPECT_EQ(view.notice, kNoticeFetching);
    workers.RunAll();
    // Once it has, the poll overdue since then starts at the next tick.
    Tick(1);
    EXPECT_EQ(workers.queue.size(), 1u);
}

TEST_F(TimerTest, PollsStartOnlyInReady) {
    StartUpWith(Succeeds());
    logic->OnButtonClicked(IDC_REBOOT);
    workers.RunAll();
    ASSERT_EQ(State(), Rebooting);
    Tick(30);
    EXPECT_TRUE(workers.queue.empty());
}

TEST_F(TimerTest, RebootStateEndsAtTheFirstTickMoreThan60SecondsLater) {
    StartUpWith(Succeeds());
    logic->OnButtonClicked(IDC_REBOOT);
    workers.RunAll();
    Tick(60);
    EXPECT_EQ(State(), Rebooting);
    EXPECT_EQ(view.notice, kNoticeRebooting);
    Tick(1);
    EXPECT_EQ(State(), Ready);
    EXPECT_FALSE(logic->Times().rebootPending);
    // The poll that was overdue meanwhile starts at the next tick.
    Tick(1);
    EXPECT_EQ(workers.queue.size(), 1u);
}

TEST_F(TimerTest, SwitchAndCheckStatesEndAtTheFirstTickAWholeSecondLater) {
    StartUpWith(Succeeds());
    for (int button : {IDC_SWITCH, IDC_CHECK}) {
        logic->OnButtonClicked(button);
        workers.RunAll();
        ASSERT_NE(State(), Ready);
        Tick(0);
        EXPECT_NE(State(), Ready) << button;
        Tick(1);
        EXPECT_EQ(State(), Ready) << button;
    }
}

TEST_F(TimerTest, ClockSetBackNeverCountsAsElapsed) {
    StartUpWith(Succeeds());
    logic->OnButtonClicked(IDC_REBOOT);
    workers.RunAll();
    Tick(-3600);
    EXPECT_EQ(State(), Rebooting);
    EXPECT_TRUE(workers.queue.empty());
}

TEST_F(TimerTest, RetryTickReissuesPendingCommandsInOrder) {
    StartUpWith(Succeeds());
    for (auto& [kind, retry] : Inside().commandRetries) {
        retry.pending = true;
    }
    logic->OnTimer(kRetryTimerId);
    workers.RunAll();
    std::vector<std::string> calls = router->Calls();
    calls.erase(calls.begin());  // the first poll
    EXPECT_EQ(calls, (std::vector<std::string>{"command 0  tarn-access", "command 1  tarn-access",
                                               "command 3  tarn-access"}));
    for (const auto& [kind, retry] : Inside().commandRetries) {
        EXPECT_FALSE(retry.pending) << kind;
    }
}

TEST_F(TimerTest, LayoutTickStopsOnceTheLayoutSucceeds) {
    view.layout_results = {false, false, true};
    for (int i = 0; i < 3; ++i) {
        logic->OnTimer(kLayoutTimerId);
    }
    EXPECT_EQ(view.Entries("stop layout timer"), std::vector<std::string>{"stop layout timer"});
}

}  // namespace
}  // namespace quirn
