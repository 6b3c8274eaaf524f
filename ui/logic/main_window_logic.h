// main_window_logic.h: the main window's behaviour, free of the platform: worker runs and their
// outcomes, the command buttons, the timers, the notice and tooltip, the tray icon's clicks and
// the menus, and the settings dialog's flow.
//
// The class is implemented in parts: main_window_logic.cpp (start-up, buttons, timers, what the
// state machine reads), main_window_logic_runs.cpp (worker runs and their outcomes, the display
// refresh), main_window_logic_tray_menus.cpp (tray icon, menus, shutdown) and
// main_window_logic_settings.cpp (the settings dialog's loop).
//
// The Windows dialog owns one MainWindowLogic, turns its messages into calls on it and carries
// out what it asks through MainWindowView. Everything here runs on the window's thread: only the
// router exchanges of a run leave it (network_step.h), and their results come back to it through
// the BackgroundRunner. So the members below need no lock, and the panel texts, the notice and
// the tooltip are only ever written where they are painted.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "state/app_settings.h"
#include "state/app_state.h"
#include "state/app_state_window.h"
#include "state/profile_store.h"
#include "ui/logic/background_runner.h"
#include "ui/logic/clock.h"
#include "ui/logic/main_window_view.h"
#include "ui/logic/network_step.h"
#include "ui/logic/operation_times.h"
#include "ui/logic/poll_exchange.h"
#include "ui/logic/registry_reader.h"
#include "ui/logic/router_library.h"
#include "ui/logic/window_timers.h"

namespace quirn {

// The mouse messages of the notification-area icon that do something.
enum class TrayMouseEvent { kLeftButtonUp, kRightButtonUp, kOther };

// Why the window shuts down: the program ends (a window may still show a message), or the
// user's session does.
enum class ShutdownCause { kProgramEnds, kSessionEnds };

class MainWindowLogic : public AppStateWindow {
  public:
    // The collaborators are not owned and outlive the logic, except `library`, which running
    // workers share. Takes the construction time as every operation's start time.
    MainWindowLogic(MainWindowView& view, Clock& clock, BackgroundRunner& workers,
                    std::shared_ptr<RouterLibrary> library, RegistryReader& registry,
                    ProfileStore& profile);
    ~MainWindowLogic() override;
    MainWindowLogic(const MainWindowLogic&) = delete;
    MainWindowLogic& operator=(const MainWindowLogic&) = delete;

    // --- Start-up, in the order of the dialog's initialisation (main_window_logic.cpp) ---
    // Loads the settings (missing entries take their defaults) and sets the status-page
    // account. The window then moves to window_pos_x, window_pos_y of `settings`.
    void LoadSettings(const DesktopRect& desktop);
    // Adds the tray icon with the application icon and `tooltipText`. A shell that does not
    // answer in time is tried again at the next tick of timer 0, never by waiting here; any
    // other failure shows string 134 and ends the program, whatever keep-in-tray says (the
    // settings are saved as on any exit).
    void RegisterTrayIcon();
    // Puts the state machine into its first state (which sets the buttons) and starts the first
    // status poll. Call after the timers are started.
    void StartPolling();

    // --- Messages (buttons and timers: main_window_logic.cpp; the rest:
    // main_window_logic_tray_menus.cpp) ---
    // A click of a command button (reload, switch, reboot, standby, connection check); false
    // for any other control.
    bool OnButtonClicked(int control_id);
    void OnTimer(int timer_id);
    void OnTrayNotify(TrayMouseEvent event);
    // A menu command (ids 32771 to 32789 with notification code 0); false when it is not one.
    bool OnMenuCommand(int command_id);
    // A system-menu command; true when it was the about command, false for default processing.
    bool OnSysCommand(unsigned command);
    // The shell announced a new taskbar: the icon must be added again.
    void OnTaskbarCreated();
    // The window is destroyed, or the session ends: stores the window's last normal position,
    // saves the settings and removes the tray icon. Repeating it is harmless. A save that fails
    // while the program ends shows string 171 with the profile's location; once the session
    // ends, nothing is shown, as Windows gives no time for it.
    void ShutDown(int32_t window_left, int32_t window_top, ShutdownCause cause);

    // --- Operations other parts of the window use ---
    // The settings dialog until its outcome is settled; true when the user confirmed it, false
    // when cancelled or already open (main_window_logic_settings.cpp).
    bool RunSettingsDialog();
    // Opens the router's firmware page in the default browser.
    void OpenFirmwarePage();

    // --- AppStateWindow, for `appState` ---
    void EnableControl(int control_id, bool enable) override;
    void FocusControl(int control_id) override;
    bool ConnectionLost() const override;
    bool OperationsFailing() const override;
    bool StatusValid() const override;
    bool WorkStatusHasBtName() const override;
    float WorkLimitReach() const override;
    void SetNotice(int kind) override;
    void RefreshControls() override;

    // --- What the window shows and remembers, read-only ---
    // The settings as the user last changed them (the profile gets them at the next save).
    const AppSettings& Settings() const { return settings; }
    const AppState& StateMachine() const { return appState; }
    // The status shown; its request kind is the job of the latest run.
    const PollExchange& ShownExchange() const { return shownExchange; }
    const std::array<std::wstring, 6>& PanelTexts() const { return panelTexts; }
    const OperationTimes& Times() const { return operationTimes; }

  private:
    // Tests preset and inspect the state below through it.
    friend struct MainWindowLogicInternals;
    struct Run;

    // --- Worker runs (main_window_logic_runs.cpp) ---
    // Starts one run of request kind `kind` (RequestKind): copies the shown exchange and the
    // settings for it, runs the job's start step, and has the router exchange done on a worker
    // thread; the outcome is handled here when it comes back.
    void StartWorker(int32_t kind);
    void FinishRun(Run run, NetworkOutcome outcome);
    void HandlePollOutcome(const PollExchange& exchange);
    void HandleCommandOutcome(const PollExchange& exchange);
    void HandleCheckOutcome(const PollExchange& exchange);
    void HandlePasswordRefusal(int32_t kind);
    void WarnAboutDataVolume(float limit_reach);
    void MarkFailureSeries();
    void Finish(const PollExchange& exchange);
    void RefreshDisplay();
    bool ShowPlaceholders() const;
    // Recomputes the tooltip and icon and hands them to the tray.
    void UpdateTrayTip();

    // --- Timers (main_window_logic.cpp) ---
    bool Elapsed(int64_t since, int64_t limit_seconds) const;
    void OnPollTick();

    // --- Settings dialog (main_window_logic_settings.cpp) ---
    void StartPollIfIdle();
    bool SetPasswordOnRouter(const AppSettings& working);

    // --- Tray and menus (main_window_logic_tray_menus.cpp) ---
    // Runs the about dialog; the tray's exit item is greyed meanwhile.
    void ShowAbout();
    void RestoreOrMinimise();
    void ToggleAutostart();
    void ToggleKeepInTray();

    // The window's state (window's thread only).
    PollExchange shownExchange;  // the status shown; its kind is the job of the latest run
    PollExchange workExchange;   // the latest run's working copy
    AppSettings settings;
    AppSettings workSettings;  // the settings as the latest run began
    AppState appState;
    int32_t noticeKind = kNoticeBlank;
    OperationTimes operationTimes;
    bool settingsOpen = false;          // the settings dialog's loop runs
    bool connectionLost = false;        // the router has been out of reach too long
    bool firstPoll = true;              // no status poll has completed yet
    bool statusValid = false;           // a status poll has succeeded
    bool adminPasswordMissing = false;  // the router reported no administrator password
    bool passwordRejected = false;      // a command failed on the administrator password
    std::map<int32_t, CommandRetry> commandRetries;
    std::wstring tooltipText;
    std::array<std::wstring, 6> panelTexts;
    bool exitAllowed = true;     // false while the about dialog is open
    float lastDataUsage = 0.0f;  // the data-volume ratio seen last

    // Each keeps a second box of its kind from opening while one is showing (a run's outcome
    // may arrive while another run's box is open).
    bool authPromptShowing = false;      // a command's password-refused prompt
    bool passwordPromptShowing = false;  // a poll's "no administrator password" prompt
    bool volumePromptShowing = false;    // the data-volume warning

    MainWindowView& view_;
    Clock& clock_;
    BackgroundRunner& workers_;
    std::shared_ptr<RouterLibrary> library_;
    RegistryReader& registry_;
    ProfileStore& profile_;
    // Shared with every poll run still fetching, so it lives as long as the last of them.
    std::shared_ptr<std::mutex> statusLock_;
    bool trayAdded_ = false;
    bool trayRetryDue_ = false;
    bool sessionEnding_ = false;     // a shutdown for the session's end came: show nothing more
    bool saveFailureShown_ = false;  // the failed save at exit was told
};

}  // namespace quirn
