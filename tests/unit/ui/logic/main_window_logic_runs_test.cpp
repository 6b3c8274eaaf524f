// Worker runs through the main window's logic: polls that succeed, fail, are refused or go
// stale; each command's outcomes; the re-issue after a password prompt; real threads.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/main_window_fakes.h"

namespace quirn {
namespace {

using namespace testing_fakes;

class WorkerRunTest : public LogicFixture {};

TEST_F(WorkerRunTest, FirstPollThatSucceedsShowsTheStatusEverywhere) {
    StartUpWith(Succeeds());

    EXPECT_EQ(State(), Ready);
    EXPECT_TRUE(logic->StatusValid());
    EXPECT_FALSE(Inside().firstPoll);
    EXPECT_FALSE(logic->Times().failing);
    EXPECT_EQ(router->Calls(),
              std::vector<std::string>{"fetch 0 quirn.home.arpa tarn-access tarn-access"});
    const std::array<std::wstring, 6> panel{
        L"WAN側IPアドレス： 10.0.0.5",
        L"ファームウェアバージョン： 1.2.3",
        L"データ通信量",
        L"　データ通信量の上限設定：　7GB",
        L"　現在のデータ通信量：　3.5GB",
        L"　上限設定への到達度：　50%",
    };
    EXPECT_EQ(view.panel, panel);
    EXPECT_EQ(logic->PanelTexts(), panel);
    EXPECT_EQ(view.notice, kNoticeBlank);
    EXPECT_FALSE(view.antenna.Inputs().no_information);
    EXPECT_TRUE(view.antenna.Inputs().connected);
    EXPECT_FALSE(view.battery.Inputs().no_information);
    EXPECT_EQ(view.battery.Inputs().percent, 80);
    EXPECT_EQ(view.connection, 3);
    EXPECT_EQ(view.tray_tip, L"接続状態： LTE\n通信強度： 強い\nバッテリ残量： 80％");
    EXPECT_EQ(view.tray_icon, IDI_BATTERY_8);
    for (WindowButton button : {WindowButton::kReload, WindowButton::kSwitch, WindowButton::kReboot,
                                WindowButton::kStandby, WindowButton::kCheck}) {
        EXPECT_TRUE(view.enabled[button]) << static_cast<int>(button);
    }
    EXPECT_TRUE(view.switch_shown);
}

TEST_F(WorkerRunTest, SwitchButtonAndCommandFollowTheConnection) {
    struct Case {
        int32_t code;
        bool switch_shown;
        const char* command;  // the switch command sent after a click, if shown
    };
    const Case cases[] = {
        {0, false, nullptr},     {1, true, "command 2 "}, {2, false, nullptr},
        {3, true, "command 3 "}, {4, true, "command 3 "},
    };
    StartUpWith(Succeeds());
    for (const Case& c : cases) {
        RouterFields status;
        status.connection_code = c.code;
        PollWith(Succeeds(status), 30);
        ASSERT_EQ(State(), Ready);
        EXPECT_EQ(view.switch_shown, c.switch_shown) << c.code;
        if (c.command) {
            logic->OnButtonClicked(IDC_SWITCH);
            workers.RunAll();
            EXPECT_EQ(router->Calls().back().rfind(c.command, 0), 0u) << c.code;
            Tick(1);  // the switching state ends
        }
    }
}

TEST_F(WorkerRunTest, StandbyIsOfferedOnlyWithABluetoothName) {
    RouterFields without;
    without.bt_name = "";
    StartUpWith(Succeeds(without));
    EXPECT_FALSE(view.enabled[WindowButton::kStandby]);
    PollWith(Succeeds(), 30);
    EXPECT_TRUE(view.enabled[WindowButton::kStandby]);
}

TEST_F(WorkerRunTest, ConnectionTextIsShownWithItsReferencesDecoded) {
    RouterFields status;
    status.connection_text = "A&amp;B &lt;3G&gt;";
    StartUpWith(Succeeds(status));
    EXPECT_EQ(logic->ShownExchange().status.connection_text, L"A&B <3G>");
    EXPECT_EQ(view.tray_tip.rfind(L"接続状態： A&B <3G>\n", 0), 0u);
}

TEST_F(WorkerRunTest, AFullConnectionTextIsShownWhole) {
    // 64 bytes ending in a three-byte character: 21 kanji and one byte before them.
    std::string full = "L";
    for (int i = 0; i < 21; ++i) {
        full += "\xE6\xBC\xA2";  // 漢
    }
    ASSERT_EQ(full.size(), 64u);
    const std::wstring shown = L"L" + std::wstring(21, L'漢');
    // With references: "&amp;" takes five bytes and gives one; the text still ends on a kanji.
    std::string with_reference = "A&amp;B" + full.substr(7);
    ASSERT_EQ(with_reference.size(), 64u);
    const std::wstring shown_with_reference = L"A&B" + std::wstring(19, L'漢');
    StartUpWith(Succeeds());
    for (const auto& [text, expected] : {std::pair{full, shown},
                                         std::pair{with_reference, shown_with_reference}}) {
        RouterFields status;
        status.connection_text = text;
        PollWith(Succeeds(status), 30);
        EXPECT_EQ(logic->ShownExchange().status.connection_text, expected);
    }
}

TEST_F(WorkerRunTest, ACommandFinishingAfterANewerPollKeepsThatPollsStatus) {
    StartUpWith(Succeeds());
    logic->OnButtonClicked(IDC_SWITCH);  // its router call is still out...
    Tick(1);                             // ...when the switching state returns to Ready
    ASSERT_EQ(State(), Ready);
    RouterFields newer;
    newer.battery_level = 4;
    newer.battery_percent = 40;
    newer.bt_name = "";
    newer.limit_reach = 120.0f;
    router->fetches = {Succeeds(newer)};
    logic->OnButtonClicked(IDC_RELOAD);
    workers.RunLast();  // the poll, started later, finishes first
    ASSERT_EQ(view.battery.Inputs().percent, 40);

    workers.RunNext();  // then the switch
    EXPECT_EQ(logic->ShownExchange().status.battery_percent, 40);
    EXPECT_EQ(view.battery.Inputs().percent, 40);
    EXPECT_EQ(view.tray_tip.find(L"80"), std::wstring::npos) << view.tray_tip;
    EXPECT_FALSE(logic->WorkStatusHasBtName());
    EXPECT_FLOAT_EQ(logic->WorkLimitReach(), 120.0f);
}

TEST_F(WorkerRunTest, PollsFailingFromStartUpShowPlaceholdersAndGoStaleAfter300Seconds) {
    StartUpWith(Fails());
    EXPECT_EQ(State(), Ready);
    EXPECT_EQ(view.notice, kNoticeFetchFailed);
    EXPECT_EQ(view.panel[0], L"WAN側IPアドレス： -");
    EXPECT_EQ(view.panel[5], L"　上限設定への到達度：　-");
    EXPECT_TRUE(view.antenna.Inputs().no_information);
    EXPECT_TRUE(view.battery.Inputs().no_information);
    EXPECT_EQ(view.tray_tip, L"情報の取得に失敗しました。");
    EXPECT_EQ(view.tray_icon, IDI_APP_SMALL);
    EXPECT_FALSE(view.enabled[WindowButton::kReboot]);
    EXPECT_EQ(view.Entries("focus").back(), "focus reload");

    // The series began when the window was created; exactly 300 s is not yet more than 300.
    PollWith(Fails(), 300);
    EXPECT_FALSE(logic->StateMachine().stale);
    EXPECT_FALSE(logic->ConnectionLost());
    PollWith(Fails(), 1);
    EXPECT_TRUE(logic->StateMachine().stale);
    EXPECT_TRUE(logic->ConnectionLost());
    EXPECT_EQ(view.connection, kConnectionCodeUnknown);
    EXPECT_FALSE(view.switch_shown);
    EXPECT_EQ(view.notice, kNoticeFetchFailed);
}

TEST_F(WorkerRunTest, FailuresAfterASuccessKeepTheValuesUntilTheSeriesIsStale) {
    StartUpWith(Succeeds());
    PollWith(Fails(), 100);
    const int64_t first_failure = clock.now;
    EXPECT_EQ(logic->Times().failingSince, first_failure);
    EXPECT_EQ(view.notice, kNoticeMaybeOutOfDate);
    EXPECT_EQ(view.panel[0], L"WAN側IPアドレス： 10.0.0.5");
    EXPECT_FALSE(view.antenna.Inputs().no_information);
    EXPECT_EQ(view.tray_tip, L"接続状態： LTE\n通信強度： 強い\nバッテリ残量： 80％");

    PollWith(Fails(), 300);  // a later failure does not restart the series
    EXPECT_EQ(logic->Times().failingSince, first_failure);
    EXPECT_EQ(view.notice, kNoticeMaybeOutOfDate);
    PollWith(Fails(), 1);
    EXPECT_EQ(view.notice, kNoticeFetchFailed);
    EXPECT_EQ(view.panel[0], L"WAN側IPアドレス： -");
    EXPECT_TRUE(view.antenna.Inputs().no_information);
    EXPECT_EQ(view.tray_tip, L"情報の取得に失敗しました。");

    PollWith(Succeeds(), 20);
    EXPECT_FALSE(logic->ConnectionLost());
    EXPECT_FALSE(logic->StateMachine().stale);
    EXPECT_EQ(view.notice, kNoticeBlank);
    EXPECT_EQ(view.panel[0], L"WAN側IPアドレス： 10.0.0.5");
}

TEST_F(WorkerRunTest, RefusedPollAsksForThePasswordAndOpensTheSettingsLater) {
    StartUpWith(Fails(lumora::kAuthRefused));
    EXPECT_TRUE(Inside().adminPasswordMissing);
    EXPECT_EQ(view.notice, kNoticePasswordNotSet);
    EXPECT_EQ(view.boxes, std::vector<int>{kAdminPasswordPromptText});
    EXPECT_EQ(view.box_icons.back(), MessageIcon::kStop);
    // Posted, not run: the settings dialog opens after this run has finished.
    EXPECT_EQ(view.Entries("settings later"), std::vector<std::string>{"settings later"});
    EXPECT_EQ(view.option_dialogs, 0);
    // Before any success the series from start-up goes on.
    EXPECT_EQ(logic->Times().failingSince, clock.now);

    // While the settings dialog is open the prompt is not repeated.
    Inside().settingsOpen = true;
    PollWith(Fails(lumora::kAuthRefused), 30);
    EXPECT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.Entries("settings later").size(), 1u);
}

TEST_F(WorkerRunTest, RefusedPollAfterASuccessStartsAFailureSeries) {
    StartUpWith(Succeeds());
    PollWith(Fails(lumora::kAuthRefused), 40);
    EXPECT_TRUE(logic->Times().failing);
    EXPECT_EQ(logic->Times().failingSince, clock.now);
}

TEST_F(WorkerRunTest, FirmwareQuestionOnlyOnTheFirstPoll) {
    for (MessageAnswer answer : {MessageAnswer::kYes, MessageAnswer::kNo}) {
        FakeView fresh_view;
        MainWindowLogic fresh(fresh_view, clock, workers, router, registry, profile);
        fresh_view.answers[kFirmwarePromptText] = answer;
        RouterFields status;
        status.firmware_notice = 1;
        router->fetches = {Succeeds(status)};
        fresh.LoadSettings(DesktopRect{});
        fresh.StartPolling();
        workers.RunAll();
        EXPECT_EQ(fresh_view.boxes, std::vector<int>{kFirmwarePromptText});
        EXPECT_EQ(fresh_view.urls.size(), answer == MessageAnswer::kYes ? 1u : 0u);
        EXPECT_EQ(fresh_view.notice, kNoticeNewFirmware);

        clock.now += 30;
        fresh.OnButtonClicked(IDC_RELOAD);
        workers.RunAll();
        EXPECT_EQ(fresh_view.boxes.size(), 1u) << "asked again";
        EXPECT_EQ(fresh_view.notice, kNoticeNewFirmware);
    }
}

TEST_F(WorkerRunTest, DataVolumeWarningShowsOnceEachTimeTheLimitIsCrossed) {
    StartUp();
    struct Step {
        float limit_reach;
        bool warned;
    };
    const Step steps[] = {{100.0f, true}, {150.0f, false}, {99.0f, false},
                          {100.0f, true}, {-1.0f, false},  {120.0f, true}};
    for (const Step& step : steps) {
        RouterFields status;
        status.limit_reach = step.limit_reach;
        const size_t before = view.boxes.size();
        if (State() == Starting) {
            router->fetches = {Succeeds(status)};
            workers.RunAll();
        } else {
            PollWith(Succeeds(status), 30);
        }
        EXPECT_EQ(view.boxes.size() - before, step.warned ? 1u : 0u) << step.limit_reach;
        EXPECT_EQ(Inside().lastDataUsage, step.limit_reach);
        EXPECT_EQ(view.notice, step.limit_reach >= 100.0f ? kNoticeOverLimit : kNoticeBlank);
    }
}

TEST_F(WorkerRunTest, DataVolumeWarningNeverStacksAndASkippedOneStillStoresTheRatio) {
    StartUpWith(Succeeds());
    // While the warning is open, another poll crosses the limit too.
    view.during_box = [&](int id) {
        if (id == kVolumeExceededPromptText && view.boxes.size() == 1) {
            RouterFields other;
            other.limit_reach = 130.0f;
            PollWith(Succeeds(other), 30);
            EXPECT_EQ(Inside().lastDataUsage, 130.0f);
        }
    };
    RouterFields status;
    status.limit_reach = 110.0f;
    PollWith(Succeeds(status), 30);
    EXPECT_EQ(view.boxes, std::vector<int>{kVolumeExceededPromptText});
    EXPECT_EQ(Inside().lastDataUsage, 110.0f);
}

TEST_F(WorkerRunTest, CommandOutcomes) {
    struct Case {
        int button;
        lumora::RouterResult result;
        int32_t state;           // right after the outcome
        int notice;              // right after the outcome
        std::vector<int> boxes;  // after the confirmation, if any
    };
    const Case cases[] = {
        {IDC_REBOOT, lumora::kSuccess, Rebooting, kNoticeRebooting, {}},
        {IDC_REBOOT, lumora::kReceiveFailed, Ready, kNoticeRebootFailed, {}},
        {IDC_STANDBY, lumora::kSuccess, EnteringStandby, kNoticeStandby, {}},
        {IDC_STANDBY, lumora::kConnectFailed, Ready, kNoticeStandbyFailed, {}},
        {IDC_SWITCH, lumora::kSuccess, Switching, kNoticeSwitching, {}},
        {IDC_SWITCH, lumora::kUnexpectedResponse, Ready, kNoticeSwitchFailed, {}},
        {IDC_CHECK, lumora::kSuccess, CheckingConnection, kNoticeChecking, {kCheckSucceededText}},
        {IDC_CHECK, lumora::kConnectFailed, Ready, kNoticeCheckFailed, {kCheckFailedText}},
        {IDC_CHECK, lumora::kAuthRefused, Ready, kNoticePasswordNotSet, {kCheckFailedText}},
    };
    for (const Case& c : cases) {
        FakeView fresh_view;
        QueuedRunner fresh_workers;
        MainWindowLogic fresh(fresh_view, clock, fresh_workers, router, registry, profile);
        router->fetches = {Succeeds()};
        router->commands = {c.result};
        router->checks = {c.result};
        fresh.LoadSettings(DesktopRect{});
        fresh.StartPolling();
        fresh_workers.RunAll();
        ASSERT_EQ(fresh.StateMachine().state, Ready);

        fresh.OnButtonClicked(c.button);
        fresh_workers.RunAll();
        const std::string label = std::to_string(c.button) + "/" + std::to_string(c.result);
        EXPECT_EQ(fresh.StateMachine().state, c.state) << label;
        EXPECT_EQ(fresh_view.notice, c.notice) << label;
        std::vector<int> boxes = fresh_view.boxes;
        if (c.button == IDC_REBOOT || c.button == IDC_STANDBY) {
            boxes.erase(boxes.begin());  // the confirmation
        }
        EXPECT_EQ(boxes, c.boxes) << label;
    }
}

TEST_F(WorkerRunTest, SuccessfulStandbyShowsPlaceholdersAndEndsTheProgramAtTheNextTick) {
    StartUpWith(Succeeds());
    logic->OnButtonClicked(IDC_STANDBY);
    EXPECT_EQ(view.boxes, std::vector<int>{kStandbyConfirmText});
    workers.RunAll();
    EXPECT_EQ(router->Calls().back(), "command 1  tarn-access");
    EXPECT_FALSE(view.switch_shown);
    EXPECT_EQ(view.connection, kConnectionCodeUnknown);
    EXPECT_EQ(view.panel[0], L"WAN側IPアドレス： -");
    EXPECT_EQ(view.tray_tip, L"休止状態中");
    EXPECT_TRUE(view.Entries("end").empty());
    Tick();
    EXPECT_EQ(view.Entries("end").size(), 1u);
    Tick();
    EXPECT_EQ(view.Entries("end").size(), 1u);
}

TEST_F(WorkerRunTest, ClicksWhileBusyDoNothingButTheConfirmationIsStillAsked) {
    StartUp();  // the first poll is under way
    for (int button : {IDC_RELOAD, IDC_SWITCH, IDC_REBOOT, IDC_STANDBY, IDC_CHECK}) {
        EXPECT_TRUE(logic->OnButtonClicked(button));
    }
    EXPECT_EQ(view.boxes, (std::vector<int>{kRebootConfirmText, kStandbyConfirmText}));
    EXPECT_EQ(workers.queue.size(), 1u);
    EXPECT_FALSE(logic->OnButtonClicked(IDC_DETAIL));

    workers.RunAll();
    view.answers[kRebootConfirmText] = MessageAnswer::kCancel;
    logic->OnButtonClicked(IDC_REBOOT);
    EXPECT_TRUE(workers.queue.empty());
    EXPECT_EQ(State(), Ready);
}

TEST_F(WorkerRunTest, RoutersAddressAndPasswordComeFromTheSettings) {
    struct Case {
        const wchar_t* domain;  // null: no entry in the profile
        std::string host;
    };
    const Case cases[] = {
        {nullptr, "quirn.home.arpa"}, {L"", "(default)"}, {L"192.168.0.1", "192.168.0.1"}};
    for (const Case& c : cases) {
        MemoryProfileStore stored;
        if (c.domain) {
            stored.At(L"router_info", L"connect_domain") = c.domain;
        }
        stored.At(L"router_info", L"connect_rt_pw") = Stored(L"s3cret");
        auto fresh_router = std::make_shared<FakeRouter>();
        FakeView fresh_view;
        QueuedRunner fresh_workers;
        MainWindowLogic fresh(fresh_view, clock, fresh_workers, fresh_router, registry, stored);
        fresh.LoadSettings(DesktopRect{});
        fresh.StartPolling();
        fresh_workers.RunAll();
        fresh.OnButtonClicked(IDC_REBOOT);
        fresh_workers.RunAll();
        EXPECT_EQ(fresh_router->Calls(),
                  (std::vector<std::string>{"fetch 0 " + c.host + " tarn-access tarn-access",
                                            "command 0 s3cret tarn-access"}));
    }
}

TEST_F(WorkerRunTest, AWorkerThatCannotStartEndsAsALocalFailure) {
    workers.refuse = true;
    StartUp();
    EXPECT_TRUE(router->Calls().empty());
    EXPECT_EQ(State(), Ready);
    EXPECT_EQ(logic->ShownExchange().result, lumora::kLocalFailure);
    EXPECT_EQ(view.notice, kNoticeFetchFailed);
}

// --- Password refusal of a command and its one re-issue ---

class PasswordRefusalTest : public LogicFixture {
  protected:
    PasswordRefusalTest() {
        StartUpWith(Succeeds());
        // The user types a new password in the settings dialog and confirms it.
        view.option_dialog = [this](OptionDialogModel& dialog) {
            return dialog.Confirm(L"quirn.home.arpa", L"new-pass", view);
        };
    }
};

TEST_F(PasswordRefusalTest, ConfirmedPromptReissuesTheCommandOnceWithTheNewPassword) {
    router->commands = {lumora::kAuthRefused, lumora::kSuccess};
    logic->OnButtonClicked(IDC_REBOOT);
    workers.RunAll();
    EXPECT_EQ(view.boxes, (std::vector<int>{kRebootConfirmText, kPasswordRejectedPromptText}));
    EXPECT_EQ(view.Entries("settings dialog"), std::vector<std::string>{"settings dialog reentry"});
    EXPECT_TRUE(Inside().commandRetries[kRequestReboot].pending);
    EXPECT_FALSE(Inside().passwordRejected);  // consumed by the dialog
    EXPECT_FALSE(Inside().authPromptShowing);
    EXPECT_TRUE(workers.queue.empty()) << "no poll while the reboot is under way";

    logic->OnTimer(kRetryTimerId);
    workers.RunAll();
    EXPECT_EQ(router->Calls().back(), "command 0 new-pass tarn-access");
    EXPECT_FALSE(Inside().commandRetries[kRequestReboot].retried);
    EXPECT_FALSE(Inside().commandRetries[kRequestReboot].pending);
    EXPECT_EQ(State(), Rebooting);
    EXPECT_EQ(view.notice, kNoticeRebooting);
    logic->OnTimer(kRetryTimerId);
    EXPECT_TRUE(workers.queue.empty()) << "issued once only";
}

TEST_F(PasswordRefusalTest, SecondRefusalEndsWithoutAnotherPrompt) {
    for (int button : {IDC_REBOOT, IDC_STANDBY, IDC_SWITCH}) {
        router->commands = {lumora::kAuthRefused};
        view.boxes.clear();
        logic->OnButtonClicked(button);
        workers.RunAll();
        logic->OnTimer(kRetryTimerId);
        workers.RunAll();
        EXPECT_EQ(State(), Ready) << button;
        EXPECT_EQ(view.notice, kNoticePasswordWrong) << button;
        EXPECT_EQ(std::count(view.boxes.begin(), view.boxes.end(), kPasswordRejectedPromptText), 1)
            << button;
        PollWith(Succeeds(), 30);
    }
}

TEST_F(PasswordRefusalTest, CancelledPromptEndsWithTheWrongPasswordNotice) {
    view.option_dialog = nullptr;
    router->commands = {lumora::kAuthRefused};
    logic->OnButtonClicked(IDC_REBOOT);
    workers.RunAll();
    EXPECT_EQ(State(), Ready);
    EXPECT_EQ(view.notice, kNoticePasswordWrong);
    EXPECT_FALSE(Inside().commandRetries[kRequestReboot].pending);
}

TEST_F(PasswordRefusalTest, RefusalWhilePasswordIsBeingEnteredReturnsToReady) {
    struct Case {
        int button;
        bool settings_open;  // otherwise another password prompt is showing
    };
    const Case cases[] = {{IDC_REBOOT, true},  {IDC_STANDBY, true},  {IDC_SWITCH, true},
                          {IDC_REBOOT, false}, {IDC_STANDBY, false}, {IDC_SWITCH, false}};
    for (const Case& c : cases) {
        router->commands = {lumora::kAuthRefused};
        view.boxes.clear();
        logic->OnButtonClicked(c.button);
        (c.settings_open ? Inside().settingsOpen : Inside().authPromptShowing) = true;
        workers.RunAll();
        Inside().settingsOpen = Inside().authPromptShowing = false;

        EXPECT_EQ(State(), Ready) << c.button << c.settings_open;
        EXPECT_EQ(view.notice, kNoticePasswordWrong);
        EXPECT_EQ(std::count(view.boxes.begin(), view.boxes.end(), kPasswordRejectedPromptText), 0);
        // Polls start again.
        PollWith(Succeeds(), 30);
        EXPECT_EQ(router->Calls().back().rfind("fetch", 0), 0u);
    }
}

TEST_F(PasswordRefusalTest, ReissuedCommandFailingOtherwiseKeepsItsRetriedMark) {
    router->commands = {lumora::kAuthRefused, lumora::kReceiveFailed, lumora::kAuthRefused};
    logic->OnButtonClicked(IDC_REBOOT);
    workers.RunAll();
    logic->OnTimer(kRetryTimerId);
    workers.RunAll();
    EXPECT_EQ(view.notice, kNoticeRebootFailed);
    EXPECT_TRUE(Inside().commandRetries[kRequestReboot].retried);

    view.boxes.clear();
    logic->OnButtonClicked(IDC_REBOOT);
    workers.RunAll();
    EXPECT_EQ(view.boxes, std::vector<int>{kRebootConfirmText});
    EXPECT_EQ(view.notice, kNoticePasswordWrong);
}

// --- Real threads (also run under ThreadSanitizer) ---

class ThreadedRunTest : public ::testing::Test {
  protected:
    ThreadedRunner workers;  // first: joins the threads after everything else is gone
    std::shared_ptr<FakeRouter> router = std::make_shared<FakeRouter>();
    FakeView view;
    FakeClock clock;
    FakeRegistry registry;
    MemoryProfileStore profile;
    std::unique_ptr<MainWindowLogic> logic =
        std::make_unique<MainWindowLogic>(view, clock, workers, router, registry, profile);
};

TEST_F(ThreadedRunTest, PollAndCommandsOnWorkerThreads) {
    logic->LoadSettings(DesktopRect{});
    logic->StartPolling();
    ASSERT_TRUE(workers.RunNextTask());
    EXPECT_EQ(logic->StateMachine().state, Ready);
    EXPECT_EQ(view.panel[0], L"WAN側IPアドレス： 10.0.0.5");

    for (int button : {IDC_SWITCH, IDC_CHECK}) {
        logic->OnButtonClicked(button);
        ASSERT_TRUE(workers.RunNextTask());
        clock.now += 1;
        logic->OnTimer(kPollTimerId);
        EXPECT_EQ(logic->StateMachine().state, Ready);
    }
    EXPECT_EQ(router->Calls().size(), 3u);
}

TEST_F(ThreadedRunTest, StatusFetchesNeverOverlap) {
    router->hold = true;
    logic->LoadSettings(DesktopRect{});
    logic->StartPolling();
    // Confirming the settings while the first poll runs starts another poll in state Starting.
    view.option_dialog = [](OptionDialogModel&) { return true; };
    ASSERT_TRUE(logic->RunSettingsDialog());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    router->Release();
    ASSERT_TRUE(workers.RunNextTask());
    ASSERT_TRUE(workers.RunNextTask());
    EXPECT_EQ(router->Calls().size(), 2u);
    EXPECT_EQ(router->max_fetching, 1);
}

TEST_F(ThreadedRunTest, RunOutlivingTheWindowFinishesHarmlessly) {
    router->hold = true;
    logic->LoadSettings(DesktopRect{});
    logic->StartPolling();
    logic->ShutDown(10, 20, ShutdownCause::kSessionEnds);
    logic->ShutDown(10, 20, ShutdownCause::kProgramEnds);  // then the window is destroyed
    workers.Close();
    logic.reset();
    router->Release();
    // The workers' destructor joins the thread; its fetch ran on what it held itself.
}

}  // namespace
}  // namespace quirn
