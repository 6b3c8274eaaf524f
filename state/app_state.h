// app_state.h: the application state machine that orders polls and commands.
//
// Events from the polling worker and the main dialog's timer move the machine between seven
// states and set or clear its flags; every transition applies the command-button policy to the
// window and recomputes the notice. There is no lock: new work starts only in state `Ready`,
// which keeps two events from overlapping.
#pragma once

#include <cstdint>
#include <map>

#include "state/app_state_window.h"

namespace quirn {

// State numbers; these are what `AppState::state` stores and compares.
enum AppStateNumber : int32_t {
    Starting = 0,            // no status fetch has finished yet
    Fetching = 1,            // a status fetch is under way
    Ready = 2,               // idle; commands and fetches may start
    Rebooting = 3,           // reboot command under way
    EnteringStandby = 4,     // standby command under way
    Switching = 5,           // priority-connection switch under way
    CheckingConnection = 6,  // connection check under way
};

// Event numbers; 5 and 11 are unused and do nothing.
enum AppEvent : int32_t {
    FetchSucceeded = 0,
    FetchFailed = 1,
    StatusStale = 2,  // fetches have failed for more than 300 s
    AuthFailed = 3,   // credentials refused on a fetch, a command or the connection check
    FetchStarted = 4,
    RebootStarted = 6,
    RebootFailed = 7,
    RebootTimeUp = 8,
    StandbyStarted = 9,
    StandbyFailed = 10,
    SwitchStarted = 12,
    SwitchFailed = 13,
    SwitchTimeUp = 14,
    CheckStarted = 15,
    CheckFailed = 16,
    CheckTimeUp = 17,
    FirmwareNotice = 18,  // the shown status reports newer firmware
};

class AppState {
  public:
    // State 0, every flag false, no window; no enter handler runs.
    AppState();
    virtual ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    // Leaves the current state and enters `newState`; with a window set, applies the button
    // policy for (old state, `newState`) and then `SelectNotice`. A number without a state entry
    // is stored as it is, with no handler and no window update.
    void ChangeState(int32_t newState);

    // Runs the handler of `event`; an event number without a handler does nothing.
    void PostEvent(int32_t event);

    // Chooses the notice number from the flags and the window, hands it to the window and
    // repaints the controls. Does nothing while no window is set.
    void SelectNotice();

    // The window driven on transitions; not owned; null until the main dialog sets it.
    AppStateWindow* window = nullptr;
    int32_t state = Starting;

    bool firmwareNotice = false;   // the router reports newer firmware
    bool fetching = false;         // in state 0 or 1
    bool rebooting = false;        // in state 3
    bool enteringStandby = false;  // in state 4
    bool switching = false;        // in state 5
    bool checking = false;         // in state 6
    bool fetchFailed = false;      // the last status fetch failed
    bool stale = false;            // fetches have been failing for more than 300 s
    bool authProblem = false;      // the router refused credentials
    bool rebootFailed = false;
    bool standbyFailed = false;
    bool switchFailed = false;
    bool checkFailed = false;

  private:
    using Handler = void (AppState::*)();
    struct StateHandlers {
        Handler enter;
        Handler leave;
    };

    void ApplyButtonPolicy(int32_t old_state, int32_t new_state);
    void ClearCommandFailures();

    void EnterStarting();
    void LeaveStarting();
    void EnterFetching();
    void LeaveFetching();
    void EnterReady() {}
    void LeaveReady() {}
    void EnterRebooting();
    void LeaveRebooting();
    void EnterEnteringStandby();
    void LeaveEnteringStandby();
    void EnterSwitching();
    void LeaveSwitching();
    void EnterCheckingConnection();
    void LeaveCheckingConnection();

    void OnFetchSucceeded();
    void OnFetchFailed();
    void OnStatusStale();
    void OnAuthFailed();
    void OnFetchStarted();
    void OnRebootStarted();
    void OnRebootFailed();
    void OnRebootTimeUp();
    void OnStandbyStarted();
    void OnStandbyFailed();
    void OnSwitchStarted();
    void OnSwitchFailed();
    void OnSwitchTimeUp();
    void OnCheckStarted();
    void OnCheckFailed();
    void OnCheckTimeUp();
    void OnFirmwareNotice();

    std::map<int32_t, StateHandlers> stateTable;
    std::map<int32_t, Handler> eventTable;
};

}  // namespace quirn
