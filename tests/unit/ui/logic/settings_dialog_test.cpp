// The settings dialog's rules (what may be edited, OK's address check and encoding) and its
// loop in the main window: the ordinary visit, the re-entry and the initial password set.
#include <gtest/gtest.h>

#include "common/text/code_page.h"
#include "tests/support/main_window_fakes.h"

namespace quirn {
namespace {

using namespace testing_fakes;

// Answers the address question as told and records it.
class ScriptedBoxes : public MessageBoxes {
  public:
    MessageAnswer ShowMessage(int string_id, MessageButtons, MessageIcon) override {
        asked.push_back(string_id);
        return answer;
    }
    MessageAnswer answer = MessageAnswer::kYes;
    std::vector<int> asked;
};

AppSettings WithRouter(const wchar_t* password, const wchar_t* domain) {
    AppSettings settings;
    settings.connect_rt_pw.value = password ? Stored(password) : L"";
    settings.connect_domain.value = domain;
    return settings;
}

TEST(OptionDialogModel, WhatMayBeEditedAndWhereTheFocusGoes) {
    struct Case {
        const wchar_t* stored;  // null: none stored
        bool set_password;
        bool reentry;
        bool password_enabled;
        bool address_enabled;
        int focus;
    };
    const Case cases[] = {
        {L"secret", false, false, false, true, IDC_ADDRESS},
        {nullptr, false, false, true, true, IDC_PASSWORD},
        {L"secret", false, true, true, true, IDC_PASSWORD},
        {nullptr, true, false, true, false, IDC_PASSWORD},
        {L"secret", true, true, true, false, IDC_PASSWORD},
    };
    for (const Case& c : cases) {
        AppSettings settings = WithRouter(c.stored, L"192.168.0.1");
        const OptionDialogSetup setup =
            OptionDialogModel(settings, c.set_password, c.reentry).Setup();
        EXPECT_EQ(setup.user_id, L"admin");
        EXPECT_EQ(setup.password, c.stored ? c.stored : L"");
        EXPECT_EQ(setup.address, L"192.168.0.1");
        EXPECT_EQ(setup.password_enabled, c.password_enabled) << c.set_password << c.reentry;
        EXPECT_EQ(setup.address_enabled, c.address_enabled) << c.set_password << c.reentry;
        EXPECT_EQ(setup.focus_control, c.focus) << c.set_password << c.reentry;
    }
}

TEST(OptionDialogModel, OkStoresTheEncodedPasswordAndTheAddress) {
    AppSettings settings = WithRouter(nullptr, L"quirn.home.arpa");
    OptionDialogModel dialog(settings, false, false);
    ScriptedBoxes boxes;
    EXPECT_TRUE(dialog.Confirm(L"quirn.home.arpa", L"pass-1", boxes));
    EXPECT_TRUE(boxes.asked.empty()) << "an unchanged address is not questioned";
    EXPECT_EQ(settings.connect_rt_pw.value, Stored(L"pass-1"));
    EXPECT_EQ(dialog.encodeResult(), static_cast<int>(Stored(L"pass-1").size()));
}

TEST(OptionDialogModel, EmptyAddressMeansTheRoutersHostName) {
    AppSettings settings = WithRouter(nullptr, L"192.168.0.1");
    OptionDialogModel dialog(settings, false, false);
    ScriptedBoxes boxes;
    EXPECT_TRUE(dialog.Confirm(L"", L"", boxes));
    EXPECT_EQ(boxes.asked, std::vector<int>{kAddressChangeConfirmText});
    EXPECT_EQ(settings.connect_domain.value, L"quirn.home.arpa");
}

TEST(OptionDialogModel, ChangedAddressNotConfirmedKeepsTheDialogOpenAndStoresNothing) {
    AppSettings settings = WithRouter(L"old", L"192.168.0.1");
    const AppSettings before = settings;
    OptionDialogModel dialog(settings, false, true);
    ScriptedBoxes boxes;
    boxes.answer = MessageAnswer::kNo;
    EXPECT_FALSE(dialog.Confirm(L"192.168.0.2", L"new", boxes));
    EXPECT_EQ(settings.connect_domain.value, before.connect_domain.value);
    EXPECT_EQ(settings.connect_rt_pw.value, before.connect_rt_pw.value);
    EXPECT_EQ(dialog.encodeResult(), 0);

    boxes.answer = MessageAnswer::kYes;
    EXPECT_TRUE(dialog.Confirm(L"192.168.0.2", L"new", boxes));
    EXPECT_EQ(settings.connect_domain.value, L"192.168.0.2");
    EXPECT_EQ(settings.connect_rt_pw.value, Stored(L"new"));
}

TEST(OptionDialogModel, PasswordThatCannotBeStoredIsStoredEmpty) {
    AppSettings settings = WithRouter(L"old", L"quirn.home.arpa");
    OptionDialogModel dialog(settings, false, true);
    ScriptedBoxes boxes;
    EXPECT_TRUE(dialog.Confirm(L"quirn.home.arpa", std::wstring(65, L'a'), boxes));
    EXPECT_EQ(dialog.encodeResult(), -2);
    EXPECT_EQ(settings.connect_rt_pw.value, L"");
}

// --- The loop in the main window ---

class SettingsLoopTest : public LogicFixture {
  protected:
    SettingsLoopTest() {
        profile.At(L"router_info", L"connect_rt_pw") = Stored(L"previous");
        StartUpWith(Succeeds());
        profile.writes = 0;
        view.option_dialog = [this](OptionDialogModel& dialog) {
            if (passes.empty()) {
                return false;  // cancel
            }
            const std::wstring password = passes.front();
            passes.erase(passes.begin());
            return dialog.Confirm(L"quirn.home.arpa", password, view);
        };
    }
    // Each pass of the dialog confirms with the next password; none left cancels.
    std::vector<std::wstring> passes;
};

TEST_F(SettingsLoopTest, SecondLoopIsRefused) {
    Inside().settingsOpen = true;
    EXPECT_FALSE(logic->RunSettingsDialog());
    EXPECT_EQ(view.option_dialogs, 0);
    EXPECT_TRUE(Inside().settingsOpen);
}

TEST_F(SettingsLoopTest, CancelLeavesTheSettingsAndConsumesTheModes) {
    Inside().passwordRejected = true;
    const std::wstring stored = logic->Settings().connect_rt_pw.value;
    EXPECT_FALSE(logic->RunSettingsDialog());
    EXPECT_EQ(logic->Settings().connect_rt_pw.value, stored);
    EXPECT_FALSE(Inside().passwordRejected);
    EXPECT_FALSE(Inside().settingsOpen);
    EXPECT_TRUE(workers.queue.empty());
}

TEST_F(SettingsLoopTest, OrdinaryOkKeepsTheSettingsAndPollsAgain) {
    passes = {L"typed"};
    EXPECT_TRUE(logic->RunSettingsDialog());
    EXPECT_EQ(view.option_dialogs, 1);
    EXPECT_EQ(logic->Settings().connect_rt_pw.value, Stored(L"typed"));
    EXPECT_EQ(profile.writes, 0) << "written at the next save, not now";
    EXPECT_EQ(workers.queue.size(), 1u);
    EXPECT_EQ(State(), Fetching);
}

TEST_F(SettingsLoopTest, PasswordThatCannotBeStoredIsTypedAgain) {
    struct Case {
        bool rejected;  // the re-entry after a refusal, else the ordinary visit
        std::vector<std::wstring> passes;
        bool answer;
        std::wstring stored;  // plain text of connect_rt_pw afterwards
        int box;              // why the first was refused
    };
    const Case cases[] = {
        {false, {std::wstring(65, L'a'), L"typed"}, true, L"typed", kPasswordTooLongText},
        // 46 bytes stored, but 69 in UTF-8: more than a command's log-in can carry.
        {false, {std::wstring(23, L'漢'), L"typed"}, true, L"typed", kPasswordTooLongText},
        // Then cancelled.
        {true, {L"\U0001F600"}, false, L"previous", kPasswordCharacterText},
    };
    for (const Case& c : cases) {
        view.boxes.clear();
        Inside().settings.connect_rt_pw.value = Stored(L"previous");
        Inside().passwordRejected = c.rejected;
        passes = c.passes;
        const size_t dialogs_before = view.option_dialogs;

        EXPECT_EQ(logic->RunSettingsDialog(), c.answer);
        EXPECT_EQ(view.boxes, std::vector<int>{c.box});
        EXPECT_EQ(view.option_dialogs - dialogs_before, 2u);
        EXPECT_EQ(DecodeStoredPassword(logic->Settings().connect_rt_pw.value.c_str()).plain,
                  c.stored);
        for (const std::string& call : router->Calls()) {
            EXPECT_FALSE(call.starts_with("set password")) << call;
        }
        workers.RunAll();
    }
}

TEST_F(SettingsLoopTest, InitialPasswordSet) {
    struct Case {
        std::vector<std::wstring> passes;
        std::vector<lumora::RouterResult> router_answers;
        bool answer;
        std::vector<int> boxes;
        std::wstring stored;  // plain text of connect_rt_pw afterwards
        int password_sets;
    };
    const std::wstring longest(64, L'p');
    const Case cases[] = {
        // Accepted at once.
        {{L"first"}, {lumora::kSuccess}, true, {}, L"first", 1},
        // Too long, then the longest that fits.
        {{std::wstring(65, L'p'), longest},
         {lumora::kSuccess},
         true,
         {kPasswordTooLongText},
         longest,
         1},
        // At the log-in's limit (22 kanji: 44 bytes stored, 66 in UTF-8), after one past it.
        {{std::wstring(23, L'漢'), std::wstring(22, L'漢')},
         {lumora::kSuccess},
         true,
         {kPasswordTooLongText},
         std::wstring(22, L'漢'),
         1},
        // A character the code page cannot hold, then cancel: nothing is tried on the router.
        {{L"\U0001F600"}, {lumora::kSuccess}, false, {kPasswordCharacterText}, L"previous", 0},
        // The router refuses, then accepts.
        {{L"one", L"two"},
         {lumora::kUnexpectedResponse, lumora::kSuccess},
         true,
         {kSetPasswordFailedText},
         L"two",
         2},
        // The router refuses, then cancel: the previous password stays.
        {{L"one"}, {lumora::kConnectFailed}, false, {kSetPasswordFailedText}, L"previous", 1},
    };
    for (const Case& c : cases) {
        view.boxes.clear();
        router->calls.clear();
        router->password_sets = {c.router_answers.begin(), c.router_answers.end()};
        passes = c.passes;
        Inside().adminPasswordMissing = true;
        const size_t dialogs_before = view.option_dialogs;

        EXPECT_EQ(logic->RunSettingsDialog(), c.answer);
        EXPECT_EQ(view.boxes, c.boxes);
        EXPECT_EQ(DecodeStoredPassword(logic->Settings().connect_rt_pw.value.c_str()).plain,
                  c.stored);
        EXPECT_EQ(static_cast<int>(router->Calls().size()), c.password_sets);
        if (c.password_sets > 0) {
            EXPECT_EQ(router->Calls().back(),
                      "set password " +
                          *lumora::WideToNarrow(c.passes.back().c_str(), lumora::kCodePageUtf8) +
                          " tarn-access tarn-access");
            // Every attempt saves what the settings now hold.
            EXPECT_EQ(profile.At(L"router_info", L"connect_rt_pw"),
                      logic->Settings().connect_rt_pw.value);
        }
        EXPECT_EQ(view.option_dialogs - dialogs_before, c.passes.size() + (c.answer ? 0 : 1));
        EXPECT_FALSE(Inside().adminPasswordMissing);
        EXPECT_FALSE(Inside().settingsOpen);
        workers.RunAll();
        // Reset the stored password for the next case.
        Inside().settings.connect_rt_pw.value = Stored(L"previous");
    }
}

TEST_F(SettingsLoopTest, PasswordSetRunsOffTheWindowsThreadAndPollsAfterEachAttempt) {
    router->password_sets = {lumora::kConnectFailed, lumora::kSuccess};
    passes = {L"one", L"two"};
    Inside().adminPasswordMissing = true;
    EXPECT_TRUE(logic->RunSettingsDialog());
    EXPECT_EQ(workers.waits, 2);
    EXPECT_EQ(
        view.Entries("settings dialog"),
        (std::vector<std::string>{"settings dialog set-password", "settings dialog set-password"}));
    // The first attempt's poll moved the machine to Fetching, so the second started none.
    EXPECT_EQ(workers.queue.size(), 1u);
}

}  // namespace
}  // namespace quirn
