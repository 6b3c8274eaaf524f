// main_window_fakes.h: recording fakes for the main window's logic: the view, the clock, the
// worker starters (queued on the test's thread, or on real threads), the router library, the
// registry and the profile, with a fixture that wires them to a MainWindowLogic.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "res/resource.h"
#include "res/strings.h"
#include "state/stored_password.h"
#include "tests/support/memory_profile_store.h"
#include "ui/display/connection_label.h"
#include "ui/logic/main_window_logic.h"

namespace quirn::testing_fakes {

// Records what the logic asks of the window; message boxes and the settings dialog answer as the
// test scripts them.
class FakeView : public MainWindowView {
  public:
    MessageAnswer ShowMessage(int string_id, MessageButtons buttons, MessageIcon icon) override {
        boxes.push_back(string_id);
        box_icons.push_back(icon);
        Log("box " + std::to_string(string_id));
        if (during_box) {
            during_box(string_id);
        }
        if (auto found = answers.find(string_id); found != answers.end()) {
            return found->second;
        }
        return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
    }

    void EnableButton(WindowButton button, bool enable) override {
        enabled[button] = enable;
        Log((enable ? "enable " : "disable ") + Name(button));
    }
    void ShowSwitchButton(bool show) override {
        switch_shown = show;
        Log(show ? "show switch" : "hide switch");
    }
    void FocusButton(WindowButton button) override { Log("focus " + Name(button)); }
    void RefreshControls() override { ++refreshes; }
    void ShowNotice(int kind) override { notice = kind; }
    void ShowPanelTexts(const std::array<std::wstring, 6>& texts) override { panel = texts; }
    void ShowAntenna(bool placeholders, int32_t connection_code, int32_t radio_level) override {
        antenna.SetStatus(placeholders, connection_code, radio_level);
    }
    void ShowBattery(bool placeholders, int32_t level, int32_t percent) override {
        battery.SetStatus(placeholders, level, percent);
    }
    void ShowConnection(int32_t connection_code) override { connection = connection_code; }
    const RadioAntenna& Antenna() const override { return antenna; }
    const Battery& BatteryGauge() const override { return battery; }
    bool LayoutControls() override { return layout_results.empty() ? true : Pop(layout_results); }
    void StopLayoutTimer() override { Log("stop layout timer"); }

    TrayAddResult AddTrayIcon(const std::wstring& tip, int icon_id) override {
        ++tray_adds;
        tray_tip = tip;
        tray_icon = icon_id;
        return add_results.empty() ? TrayAddResult::kAdded : Pop(add_results);
    }
    void ModifyTrayIcon(const std::wstring& tip, int icon_id) override {
        tray_tip = tip;
        tray_icon = icon_id;
    }
    void RemoveTrayIcon() override { ++tray_removes; }
    void ShowTrayMenu(bool offer_restore, bool exit_enabled) override {
        Log(std::string("tray menu ") + (offer_restore ? "restore" : "minimise") +
            (exit_enabled ? " exit" : " no-exit"));
    }

    bool IsShownNormally() override { return shown_normally; }
    void Minimise() override { Log("minimise"); }
    void Restore() override { Log("restore"); }
    void ShowTextMessage(const std::wstring& text, MessageIcon icon) override {
        text_boxes.push_back(text);
        box_icons.push_back(icon);
        Log("text box");
    }
    void EndApplication() override { Log("end"); }
    void OpenSettingsLater() override { Log("settings later"); }

    bool IsOptionChecked(MenuOption option) override {
        if (menu_missing) {
            throw std::runtime_error("IsMenuChecked::GetMenuItem failed");
        }
        return checks[option];
    }
    void CheckOption(MenuOption option, bool checked) override {
        if (menu_missing) {
            throw std::runtime_error("IsMenuChecked::SetMenuCheck failed");
        }
        checks[option] = checked;
    }

    void RunAboutDialog() override {
        Log("about");
        if (during_about) {
            during_about();
        }
    }
    bool RunOptionDialog(OptionDialogModel& dialog) override {
        ++option_dialogs;
        Log(std::string("settings dialog") + (dialog.setPasswordMode() ? " set-password" : "") +
            (dialog.reentryMode() ? " reentry" : ""));
        return option_dialog ? option_dialog(dialog) : false;
    }
    bool OpenUrl(const std::wstring& address) override {
        urls.push_back(address);
        return true;
    }
    void SetAutostartShortcut(bool create) override {
        Log(create ? "shortcut create" : "shortcut remove");
    }

    // Entries of the log that start with `prefix`.
    std::vector<std::string> Entries(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& entry : log) {
            if (entry.rfind(prefix, 0) == 0) {
                found.push_back(entry);
            }
        }
        return found;
    }

    std::map<int, MessageAnswer> answers;
    std::function<void(int)> during_box;
    std::function<void()> during_about;
    std::function<bool(OptionDialogModel&)> option_dialog;  // none: the user cancels
    std::deque<TrayAddResult> add_results;
    std::deque<bool> layout_results;
    bool shown_normally = true;
    bool menu_missing = false;

    std::vector<std::string> log;
    std::vector<std::wstring> text_boxes;  // ShowTextMessage's texts
    std::vector<int> boxes;
    std::vector<MessageIcon> box_icons;
    std::map<WindowButton, bool> enabled;
    bool switch_shown = false;
    std::map<MenuOption, bool> checks;
    int notice = -1;
    int refreshes = 0;
    int option_dialogs = 0;
    std::array<std::wstring, 6> panel;
    std::wstring tray_tip;
    int tray_icon = 0;
    int tray_adds = 0;
    int tray_removes = 0;
    std::vector<std::wstring> urls;
    RadioAntenna antenna;
    Battery battery;
    int32_t connection = kConnectionCodeUnknown;  // the connection picture's code

  private:
    template <typename T>
    static T Pop(std::deque<T>& queue) {
        T value = queue.front();
        queue.pop_front();
        return value;
    }
    void Log(const std::string& entry) { log.push_back(entry); }
    // The log's name of `button`, in the order of WindowButton.
    static std::string Name(WindowButton button) {
        static const char* const kNames[] = {"reload",  "switch", "reboot",
                                             "standby", "check",  "detail"};
        return kNames[static_cast<int>(button)];
    }
};

class FakeClock : public Clock {
  public:
    int64_t NowSeconds() override { return now; }
    int64_t now = 1'700'000'000;
};

// Keeps started work until the test runs it on its own thread, as the window's thread would
// see it: the work, then its window task.
class QueuedRunner : public BackgroundRunner {
  public:
    bool Start(std::function<WindowTask()> work) override {
        if (refuse) {
            return false;
        }
        queue.push_back(std::move(work));
        return true;
    }
    int RunAndWait(std::function<int()> task) override {
        ++waits;
        return task();
    }
    // Runs queued work (and the work its tasks start) until none is left.
    void RunAll() {
        while (!queue.empty()) {
            RunNext();
        }
    }
    void RunNext() {
        auto work = std::move(queue.front());
        queue.pop_front();
        work()();
    }
    // The work queued last, before what was queued earlier: a run that overtakes another.
    void RunLast() {
        auto work = std::move(queue.back());
        queue.pop_back();
        work()();
    }

    std::deque<std::function<WindowTask()>> queue;
    bool refuse = false;
    int waits = 0;
};

// Real threads; the window tasks are queued for the test's thread, which plays the window's.
// `Close` plays the window going away: queued and later tasks are destroyed unrun.
class ThreadedRunner : public BackgroundRunner {
  public:
    ~ThreadedRunner() override {
        for (std::thread& thread : threads_) {
            thread.join();
        }
    }
    bool Start(std::function<WindowTask()> work) override {
        threads_.emplace_back([this, work = std::move(work)] {
            WindowTask task = work();
            std::lock_guard lock(mutex_);
            if (!closed_) {
                tasks_.push_back(std::move(task));
            }
            ready_.notify_all();
        });
        return true;
    }
    int RunAndWait(std::function<int()> task) override {
        int result = 0;
        std::thread([&] { result = task(); }).join();
        return result;
    }
    // Waits for the next window task and runs it here; false after a time-out.
    bool RunNextTask() {
        WindowTask task;
        {
            std::unique_lock lock(mutex_);
            if (!ready_.wait_for(lock, std::chrono::seconds(10), [&] { return !tasks_.empty(); })) {
                return false;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        return true;
    }
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        tasks_.clear();
    }

  private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<WindowTask> tasks_;
    bool closed_ = false;
    std::vector<std::thread> threads_;
};

// A router status record as a successful fetch gives it.
struct RouterFields {
    std::string connection_text = "LTE";
    int32_t connection_code = 3;
    int32_t radio_level = 4;
    int32_t battery_level = 8;
    int32_t battery_percent = 80;
    int32_t firmware_notice = 0;
    std::string bt_name = "quirn-bt";
    std::string wan_address = "10.0.0.5";
    std::string firmware_version = "1.2.3";
    std::string volume_limit = "7GB";
    std::string volume_month = "3.5GB";
    std::string limit_reach_text = "50%";
    float limit_reach = 50.0f;
};

// As the page parser fills a field: a text of N bytes or more fills it whole, unterminated.
template <size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    const size_t length = std::min(text.size(), N);
    std::memcpy(field, text.data(), length);
    std::fill(field + length, field + N, '\0');
}

inline lumora::RouterStatus MakeRecord(const RouterFields& fields) {
    lumora::RouterStatus record{};
    CopyText(record.connection_text, fields.connection_text);
    record.connection_code = fields.connection_code;
    record.radio_level = fields.radio_level;
    record.battery_level = fields.battery_level;
    record.battery_percent = fields.battery_percent;
    record.firmware_notice = fields.firmware_notice;
    CopyText(record.bt_name, fields.bt_name);
    CopyText(record.wan_address, fields.wan_address);
    CopyText(record.firmware_version, fields.firmware_version);
    CopyText(record.volume_limit, fields.volume_limit);
    CopyText(record.volume_month, fields.volume_month);
    CopyText(record.limit_reach_text, fields.limit_reach_text);
    record.limit_reach = fields.limit_reach;
    return record;
}

// Plays the router: each operation answers from its script (the front entry, or the last one
// when the script is down to one) and records its call. Safe from several threads.
class FakeRouter : public RouterLibrary {
  public:
    struct Fetch {
        lumora::RouterResult result = lumora::kSuccess;
        RouterFields status;
    };

    lumora::RouterResult GetRouterInfo(int page_index, const char* host, const char* user,
                                       const char* password,
                                       lumora::RouterStatus& output) override {
        Fetch fetch;
        {
            std::unique_lock lock(mutex_);
            calls.push_back("fetch " + std::to_string(page_index) + " " +
                            (host ? host : "(default)") + " " + user + " " + password);
            fetch = Next(fetches);
            ++fetching_;
            max_fetching = std::max(max_fetching, fetching_);
            // A held fetch waits for the test's release.
            released_.wait(lock, [&] { return !hold; });
        }
        if (fetch.result == lumora::kSuccess) {
            output = MakeRecord(fetch.status);
        }
        std::lock_guard lock(mutex_);
        --fetching_;
        return fetch.result;
    }
    lumora::RouterResult RunRouterCommand(const char* admin_password, const char* status_user,
                                          int command_index) override {
        std::lock_guard lock(mutex_);
        calls.push_back("command " + std::to_string(command_index) + " " + admin_password + " " +
                        status_user);
        return Next(commands);
    }
    lumora::RouterResult SetAdminPassword(const char* status_password, const char* new_password,
                                          const char* status_user) override {
        std::lock_guard lock(mutex_);
        calls.push_back(std::string("set password ") + new_password + " " + status_user + " " +
                        status_password);
        return Next(password_sets);
    }
    lumora::RouterResult CheckConnection() override {
        std::lock_guard lock(mutex_);
        calls.push_back("check");
        return Next(checks);
    }

    void Release() {
        std::lock_guard lock(mutex_);
        hold = false;
        released_.notify_all();
    }
    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        return calls;
    }

    std::deque<Fetch> fetches{Fetch{}};
    std::deque<lumora::RouterResult> commands{lumora::kSuccess};
    std::deque<lumora::RouterResult> password_sets{lumora::kSuccess};
    std::deque<lumora::RouterResult> checks{lumora::kSuccess};
    bool hold = false;
    int max_fetching = 0;
    std::vector<std::string> calls;

  private:
    template <typename T>
    static T Next(std::deque<T>& script) {
        T value = script.front();
        if (script.size() > 1) {
            script.pop_front();
        }
        return value;
    }

    std::mutex mutex_;
    std::condition_variable released_;
    int fetching_ = 0;
};

class FakeRegistry : public RegistryReader {
  public:
    int WindowsMajorVersion() override { return major; }
    std::optional<std::wstring> ReadText(RegistryRoot root, const std::wstring& path,
                                         const std::wstring& name) override {
        reads.push_back(path + L"|" + name);
        if (root == RegistryRoot::kClassesRoot) {
            return http_command;
        }
        return progid;
    }
    int major = 10;
    std::optional<std::wstring> http_command;
    std::optional<std::wstring> progid = L"ChromeHTML";
    std::vector<std::wstring> reads;
};

inline std::wstring Stored(const wchar_t* plain) {
    return EncodeStoredPassword(plain).stored;
}

}  // namespace quirn::testing_fakes

namespace quirn {

// The logic's state that tests preset and inspect beyond its public surface.
struct MainWindowLogicInternals {
    explicit MainWindowLogicInternals(MainWindowLogic& logic)
        : settings(logic.settings),
          appState(logic.appState),
          shownExchange(logic.shownExchange),
          operationTimes(logic.operationTimes),
          commandRetries(logic.commandRetries),
          panelTexts(logic.panelTexts),
          settingsOpen(logic.settingsOpen),
          connectionLost(logic.connectionLost),
          firstPoll(logic.firstPoll),
          statusValid(logic.statusValid),
          adminPasswordMissing(logic.adminPasswordMissing),
          passwordRejected(logic.passwordRejected),
          exitAllowed(logic.exitAllowed),
          lastDataUsage(logic.lastDataUsage),
          authPromptShowing(logic.authPromptShowing) {}

    AppSettings& settings;
    AppState& appState;
    PollExchange& shownExchange;
    OperationTimes& operationTimes;
    std::map<int32_t, CommandRetry>& commandRetries;
    std::array<std::wstring, 6>& panelTexts;
    bool& settingsOpen;
    bool& connectionLost;
    bool& firstPoll;
    bool& statusValid;
    bool& adminPasswordMissing;
    bool& passwordRejected;
    bool& exitAllowed;
    float& lastDataUsage;
    bool& authPromptShowing;
};

}  // namespace quirn

namespace quirn::testing_fakes {

// A logic wired to the fakes, with the work queued on the test's thread.
class LogicFixture : public ::testing::Test {
  protected:
    LogicFixture()
        : router(std::make_shared<FakeRouter>()),
          logic(
              std::make_unique<MainWindowLogic>(view, clock, workers, router, registry, profile)) {}

    // The dialog's start-up: settings, tray icon, first state and the first poll (queued).
    void StartUp() {
        logic->LoadSettings(DesktopRect{0, 0, 1920, 1080});
        logic->RegisterTrayIcon();
        logic->StartPolling();
    }
    // Start-up with the first poll answered by `fetch`.
    void StartUpWith(FakeRouter::Fetch fetch) {
        router->fetches = {fetch};
        StartUp();
        workers.RunAll();
    }
    // A reload click answered by `fetch`, `seconds` after the clock's current time.
    void PollWith(FakeRouter::Fetch fetch, int64_t seconds = 0) {
        clock.now += seconds;
        router->fetches = {fetch};
        logic->OnButtonClicked(IDC_RELOAD);
        workers.RunAll();
    }
    void Tick(int64_t seconds = 1) {
        clock.now += seconds;
        logic->OnTimer(kPollTimerId);
    }
    int32_t State() const { return logic->StateMachine().state; }
    // The logic's state beyond its public surface.
    MainWindowLogicInternals Inside() { return MainWindowLogicInternals(*logic); }

    FakeView view;
    FakeClock clock;
    QueuedRunner workers;
    std::shared_ptr<FakeRouter> router;
    FakeRegistry registry;
    MemoryProfileStore profile;
    std::unique_ptr<MainWindowLogic> logic;
};

inline FakeRouter::Fetch Succeeds(RouterFields status = {}) {
    return {lumora::kSuccess, std::move(status)};
}
inline FakeRouter::Fetch Fails(lumora::RouterResult result = lumora::kConnectFailed) {
    return {result, {}};
}

}  // namespace quirn::testing_fakes
