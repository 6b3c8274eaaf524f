// The tray icon (registration, clicks, context menu), the menu commands and toggles, the about
// command, and shutdown.
#include <gtest/gtest.h>

#include "tests/support/main_window_fakes.h"

namespace quirn {
namespace {

using namespace testing_fakes;

class MenuTest : public LogicFixture {};

TEST_F(MenuTest, MenuCommands) {
    struct Case {
        int command;
        bool shown_normally;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {ID_HELP_ABOUT, true, {"about"}},
        {ID_SYSTEM_EXIT, true, {"end"}},
        {ID_TRAY_EXIT, true, {"end"}},
        {ID_TRAY_RESTORE, true, {"minimise"}},
        {ID_TRAY_RESTORE, false, {"restore"}},
        {ID_SYSTEM_SETTINGS, true, {"settings dialog"}},
        {ID_HELP_ONLINE, true, {}},
    };
    for (const Case& c : cases) {
        view.log.clear();
        view.shown_normally = c.shown_normally;
        EXPECT_TRUE(logic->OnMenuCommand(c.command));
        EXPECT_EQ(view.log, c.log) << c.command;
    }
    EXPECT_EQ(view.urls,
              std::vector<std::wstring>{L"http://www.vandrel.example/support/quirn/mobile-tool/"});
    EXPECT_FALSE(logic->OnMenuCommand(32774));
    EXPECT_FALSE(logic->OnMenuCommand(IDC_RELOAD));
}

TEST_F(MenuTest, SystemMenuAboutCommandIgnoresTheLowBits) {
    EXPECT_TRUE(logic->OnSysCommand(IDM_ABOUTBOX | 0x3));
    EXPECT_FALSE(logic->OnSysCommand(0xF060));  // SC_CLOSE: default processing
    EXPECT_EQ(view.log, std::vector<std::string>{"about"});
}

TEST_F(MenuTest, TrayClicks) {
    struct Case {
        TrayMouseEvent event;
        bool shown_normally;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {TrayMouseEvent::kLeftButtonUp, true, {"minimise"}},
        {TrayMouseEvent::kLeftButtonUp, false, {"restore"}},
        {TrayMouseEvent::kRightButtonUp, true, {"tray menu minimise exit"}},
        {TrayMouseEvent::kRightButtonUp, false, {"tray menu restore exit"}},
        {TrayMouseEvent::kOther, true, {}},
    };
    for (const Case& c : cases) {
        view.log.clear();
        view.shown_normally = c.shown_normally;
        logic->OnTrayNotify(c.event);
        EXPECT_EQ(view.log, c.log);
    }
}

TEST_F(MenuTest, TrayExitIsGreyedWhileTheAboutDialogIsOpen) {
    view.during_about = [&] { logic->OnTrayNotify(TrayMouseEvent::kRightButtonUp); };
    logic->OnMenuCommand(ID_HELP_ABOUT);
    logic->OnSysCommand(IDM_ABOUTBOX);
    EXPECT_EQ(view.Entries("tray menu"), (std::vector<std::string>{"tray menu minimise no-exit",
                                                                   "tray menu minimise no-exit"}));
    EXPECT_TRUE(Inside().exitAllowed);
}

TEST_F(MenuTest, AutostartToggle) {
    logic->OnMenuCommand(ID_SYSTEM_AUTOSTART);
    EXPECT_TRUE(view.checks[MenuOption::kAutostart]);
    EXPECT_EQ(logic->Settings().app_startup.value, 1);
    logic->OnMenuCommand(ID_SYSTEM_AUTOSTART);
    EXPECT_FALSE(view.checks[MenuOption::kAutostart]);
    EXPECT_EQ(logic->Settings().app_startup.value, 0);

    // Without the menu the shortcut is removed and the setting left alone.
    Inside().settings.app_startup.value = 1;
    view.menu_missing = true;
    logic->OnMenuCommand(ID_SYSTEM_AUTOSTART);
    EXPECT_EQ(logic->Settings().app_startup.value, 1);
    EXPECT_EQ(view.Entries("shortcut"),
              (std::vector<std::string>{"shortcut create", "shortcut remove", "shortcut remove"}));
}

TEST_F(MenuTest, KeepInTrayToggleAsksBeforeChecking) {
    logic->OnMenuCommand(ID_SYSTEM_KEEP_IN_TRAY);  // answered No
    EXPECT_EQ(view.boxes, std::vector<int>{kKeepInTrayConfirmText});
    EXPECT_FALSE(view.checks[MenuOption::kKeepInTray]);
    EXPECT_EQ(logic->Settings().app_keep_task.value, 0);

    view.answers[kKeepInTrayConfirmText] = MessageAnswer::kYes;
    logic->OnMenuCommand(ID_SYSTEM_KEEP_IN_TRAY);
    EXPECT_TRUE(view.checks[MenuOption::kKeepInTray]);
    EXPECT_EQ(logic->Settings().app_keep_task.value, 1);

    logic->OnMenuCommand(ID_SYSTEM_KEEP_IN_TRAY);  // unchecking asks nothing
    EXPECT_EQ(view.boxes.size(), 2u);
    EXPECT_FALSE(view.checks[MenuOption::kKeepInTray]);
    EXPECT_EQ(logic->Settings().app_keep_task.value, 0);

    view.menu_missing = true;
    logic->OnMenuCommand(ID_SYSTEM_KEEP_IN_TRAY);
    EXPECT_EQ(view.boxes.size(), 2u);
    EXPECT_EQ(logic->Settings().app_keep_task.value, 0);
}

TEST_F(MenuTest, TrayRegistrationRetriesOnTheTimerWithoutWaiting) {
    view.add_results = {TrayAddResult::kTimedOut, TrayAddResult::kTimedOut, TrayAddResult::kAdded};
    logic->RegisterTrayIcon();
    EXPECT_EQ(view.tray_adds, 1);
    EXPECT_EQ(view.tray_tip, L"情報の取得に失敗しました。");
    EXPECT_EQ(view.tray_icon, IDI_APP_SMALL);
    for (int i = 0; i < 4; ++i) {
        Tick();
    }
    EXPECT_EQ(view.tray_adds, 3);
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(MenuTest, TrayRegistrationFailureEndsTheProgramEvenWhenCloseWouldHide) {
    Inside().settings.app_keep_task.value = 1;  // a close would only hide the window
    view.add_results = {TrayAddResult::kFailed};
    logic->RegisterTrayIcon();
    EXPECT_EQ(view.boxes, std::vector<int>{kTrayIconFailedText});
    EXPECT_EQ(view.box_icons.back(), MessageIcon::kExclamation);
    EXPECT_EQ(view.Entries("end").size(), 1u);
    Tick();
    EXPECT_EQ(view.tray_adds, 1);
}

TEST_F(MenuTest, NewTaskbarGetsTheIconAgainWithTheCurrentTip) {
    StartUpWith(Succeeds());
    logic->OnTaskbarCreated();
    EXPECT_EQ(view.tray_adds, 2);
    EXPECT_EQ(view.tray_tip, L"接続状態： LTE\n通信強度： 強い\nバッテリ残量： 80％");
    EXPECT_EQ(view.tray_icon, IDI_APP_SMALL);
}

TEST_F(MenuTest, ShutDownSavesAndRemovesTheIconOnceWhenRepeated) {
    StartUpWith(Succeeds());
    logic->ShutDown(-20, 35, ShutdownCause::kSessionEnds);
    logic->ShutDown(-20, 35, ShutdownCause::kProgramEnds);  // then the window is destroyed
    EXPECT_EQ(view.tray_removes, 1);
    EXPECT_EQ(profile.At(L"application_info", L"window_pos_x"), L"4294967276");
    EXPECT_EQ(profile.At(L"application_info", L"window_pos_y"), L"35");
    // Work still running at that point finishes on its own.
    PollWith(Succeeds(), 30);
    EXPECT_EQ(State(), Ready);
}

TEST_F(MenuTest, AFailedSaveAtExitIsToldOnceWithTheProfilesPath) {
    StartUpWith(Succeeds());
    profile.failing_key = L"window_pos_x";
    logic->ShutDown(5, 6, ShutdownCause::kProgramEnds);
    logic->ShutDown(5, 6, ShutdownCause::kProgramEnds);
    ASSERT_EQ(view.text_boxes.size(), 1u);
    EXPECT_EQ(view.text_boxes[0],
              L"設定ファイルに書き込めませんでした。\nC:\\quirn\\QuirnMobileTool.INI\n"
              L"設定は保存されていません。");
    EXPECT_EQ(view.box_icons.back(), MessageIcon::kStop);
    // Every write was still tried.
    EXPECT_EQ(profile.At(L"router_info", L"connect_domain"), L"quirn.home.arpa");
}

TEST_F(MenuTest, NothingIsToldWhenTheSaveWorksOrTheSessionEnds) {
    StartUpWith(Succeeds());
    logic->ShutDown(5, 6, ShutdownCause::kProgramEnds);
    profile.failing_key = L"window_pos_x";
    logic->ShutDown(5, 6, ShutdownCause::kSessionEnds);
    logic->ShutDown(5, 6, ShutdownCause::kProgramEnds);  // the window destroyed after it
    EXPECT_TRUE(view.text_boxes.empty());
}

}  // namespace
}  // namespace quirn
