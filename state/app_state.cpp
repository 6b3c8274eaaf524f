// app_state.cpp: the state and event tables, the transition step, the button policy and the
// choice of notice.
#include "state/app_state.h"

namespace quirn {

AppState::AppState() {
    stateTable = {
        {Starting, {&AppState::EnterStarting, &AppState::LeaveStarting}},
        {Fetching, {&AppState::EnterFetching, &AppState::LeaveFetching}},
        {Ready, {&AppState::EnterReady, &AppState::LeaveReady}},
        {Rebooting, {&AppState::EnterRebooting, &AppState::LeaveRebooting}},
        {EnteringStandby, {&AppState::EnterEnteringStandby, &AppState::LeaveEnteringStandby}},
        {Switching, {&AppState::EnterSwitching, &AppState::LeaveSwitching}},
        {CheckingConnection,
         {&AppState::EnterCheckingConnection, &AppState::LeaveCheckingConnection}},
    };
    eventTable = {
        {FetchSucceeded, &AppState::OnFetchSucceeded}, {FetchFailed, &AppState::OnFetchFailed},
        {StatusStale, &AppState::OnStatusStale},       {AuthFailed, &AppState::OnAuthFailed},
        {FetchStarted, &AppState::OnFetchStarted},     {RebootStarted, &AppState::OnRebootStarted},
        {RebootFailed, &AppState::OnRebootFailed},     {RebootTimeUp, &AppState::OnRebootTimeUp},
        {StandbyStarted, &AppState::OnStandbyStarted}, {StandbyFailed, &AppState::OnStandbyFailed},
        {SwitchStarted, &AppState::OnSwitchStarted},   {SwitchFailed, &AppState::OnSwitchFailed},
        {SwitchTimeUp, &AppState::OnSwitchTimeUp},     {CheckStarted, &AppState::OnCheckStarted},
        {CheckFailed, &AppState::OnCheckFailed},       {CheckTimeUp, &AppState::OnCheckTimeUp},
        {FirmwareNotice, &AppState::OnFirmwareNotice},
    };
}

AppState::~AppState() = default;

void AppState::ChangeState(int32_t newState) {
    if (auto current = stateTable.find(state); current != stateTable.end()) {
        (this->*current->second.leave)();
    }
    auto next = stateTable.find(newState);
    if (next == stateTable.end()) {
        state = newState;
        return;
    }
    (this->*next->second.enter)();
    // The policy compares against the old state, so `state` changes only afterwards.
    if (window != nullptr) {
        ApplyButtonPolicy(state, newState);
    }
    state = newState;
}

void AppState::PostEvent(int32_t event) {
    if (auto found = eventTable.find(event); found != eventTable.end()) {
        (this->*found->second)();
    }
}

void AppState::ApplyButtonPolicy(int32_t old_state, int32_t new_state) {
    AppStateWindow& w = *window;
    // While the router is out of reach only the buttons that need it are held back.
    if (w.ConnectionLost() || w.OperationsFailing()) {
        w.EnableControl(kRebootButtonId, false);
        w.EnableControl(kStandbyButtonId, false);
        w.EnableControl(kCheckButtonId, false);
        SelectNotice();
        return;
    }
    switch (new_state) {
        case Starting:
        case Rebooting:
        case Switching:
            w.FocusControl(kDetailButtonId);
            w.EnableControl(kReloadButtonId, false);
            w.EnableControl(kRebootButtonId, false);
            w.EnableControl(kStandbyButtonId, false);
            w.EnableControl(kSwitchButtonId, false);
            w.EnableControl(kCheckButtonId, false);
            break;
        case Ready:
            // After a fetch (1) or within Ready the buttons are already right.
            if (old_state != Fetching && old_state != Ready) {
                w.EnableControl(kReloadButtonId, true);
                w.EnableControl(kRebootButtonId, true);
                w.EnableControl(kStandbyButtonId, w.WorkStatusHasBtName());
                w.EnableControl(kSwitchButtonId, true);
                w.EnableControl(kCheckButtonId, true);
            }
            break;
        case EnteringStandby:
            w.FocusControl(kDetailButtonId);
            w.EnableControl(kReloadButtonId, true);
            w.EnableControl(kRebootButtonId, false);
            w.EnableControl(kStandbyButtonId, false);
            w.EnableControl(kCheckButtonId, false);
            break;
        default:  // Fetching and CheckingConnection leave the buttons as they are
            break;
    }
    SelectNotice();
}

void AppState::SelectNotice() {
    if (window == nullptr) {
        return;
    }
    AppStateWindow& w = *window;
    int kind = kNoticeBlank;
    if (rebooting) {
        kind = kNoticeRebooting;
    } else if (enteringStandby) {
        kind = kNoticeStandby;
    } else if (switching) {
        kind = kNoticeSwitching;
    } else if (checking) {
        kind = kNoticeChecking;
    } else if (fetching) {
        kind = kNoticeFetching;
    } else if (authProblem) {
        if (w.ConnectionLost()) {
            kind = kNoticeFetchFailed;
        } else if (rebootFailed || standbyFailed || switchFailed) {
            kind = kNoticePasswordWrong;
        } else {
            kind = kNoticePasswordNotSet;
        }
    } else if (rebootFailed) {
        kind = kNoticeRebootFailed;
    } else if (standbyFailed) {
        kind = kNoticeStandbyFailed;
    } else if (switchFailed) {
        kind = kNoticeSwitchFailed;
    } else if (checkFailed) {
        kind = kNoticeCheckFailed;
    } else if (stale) {
        kind = kNoticeFetchFailed;
    } else if (fetchFailed) {
        kind = w.StatusValid() ? kNoticeMaybeOutOfDate : kNoticeFetchFailed;
    } else if (w.WorkLimitReach() >= 100.0f) {
        kind = kNoticeOverLimit;
    } else if (firmwareNotice) {
        kind = kNoticeNewFirmware;
    }
    w.SetNotice(kind);
    w.RefreshControls();
}

void AppState::ClearCommandFailures() {
    rebootFailed = false;
    standbyFailed = false;
    switchFailed = false;
    checkFailed = false;
}

// --- State handlers ---

void AppState::EnterStarting() {
    firmwareNotice = false;
    fetching = false;
    rebooting = false;
    enteringStandby = false;
    switching = false;
    checking = false;
    fetchFailed = false;
    stale = false;
    authProblem = false;
    ClearCommandFailures();
    fetching = true;
}

void AppState::LeaveStarting() {
    fetching = false;
}

// A fetch keeps the fetch outcome flags: they describe the last fetch until this one ends.
void AppState::EnterFetching() {
    firmwareNotice = false;
    fetching = true;
    ClearCommandFailures();
}

void AppState::LeaveFetching() {
    fetching = false;
}

void AppState::EnterRebooting() {
    rebooting = true;
    ClearCommandFailures();
}

void AppState::LeaveRebooting() {
    rebooting = false;
}

void AppState::EnterEnteringStandby() {
    enteringStandby = true;
    ClearCommandFailures();
}

void AppState::LeaveEnteringStandby() {
    enteringStandby = false;
}

void AppState::EnterSwitching() {
    switching = true;
    ClearCommandFailures();
}

void AppState::LeaveSwitching() {
    switching = false;
}

void AppState::EnterCheckingConnection() {
    checking = true;
    ClearCommandFailures();
}

void AppState::LeaveCheckingConnection() {
    checking = false;
}

// --- Event handlers ---

namespace {
bool IsFetchState(int32_t s) {
    return s == Starting || s == Fetching;
}
bool CanStartCommand(int32_t s) {
    return s == Fetching || s == Ready;
}
}  // namespace

void AppState::OnFetchSucceeded() {
    if (IsFetchState(state)) {
        fetchFailed = false;
        stale = false;
        authProblem = false;
        ChangeState(Ready);
    }
}

void AppState::OnFetchFailed() {
    if (IsFetchState(state)) {
        fetchFailed = true;
        authProblem = false;
        ChangeState(Ready);
    }
}

void AppState::OnStatusStale() {
    if (IsFetchState(state)) {
        stale = true;
        ChangeState(Ready);
    } else if (state == Ready) {
        stale = true;
    }
}

void AppState::OnAuthFailed() {
    switch (state) {
        case Starting:
        case Fetching:
            break;
        case Rebooting:
            rebootFailed = true;
            break;
        case EnteringStandby:
            standbyFailed = true;
            break;
        case Switching:
            switchFailed = true;
            break;
        case CheckingConnection:
            checkFailed = true;
            break;
        default:  // in Ready nothing is under way that the refusal could belong to
            return;
    }
    authProblem = true;
    ChangeState(Ready);
}

void AppState::OnFetchStarted() {
    if (state == Ready) {
        ChangeState(Fetching);
    }
}

void AppState::OnRebootStarted() {
    if (CanStartCommand(state)) {
        ChangeState(Rebooting);
    }
}

void AppState::OnRebootFailed() {
    if (state == Rebooting) {
        rebootFailed = true;
        ChangeState(Ready);
    }
}

void AppState::OnRebootTimeUp() {
    if (state == Rebooting) {
        ChangeState(Ready);
    }
}

void AppState::OnStandbyStarted() {
    if (CanStartCommand(state)) {
        ChangeState(EnteringStandby);
    }
}

void AppState::OnStandbyFailed() {
    if (state == EnteringStandby) {
        standbyFailed = true;
        ChangeState(Ready);
    }
}

void AppState::OnSwitchStarted() {
    if (CanStartCommand(state)) {
        ChangeState(Switching);
    }
}

void AppState::OnSwitchFailed() {
    if (state == Ready) {
        switchFailed = true;
    } else if (state == Switching) {
        switchFailed = true;
        ChangeState(Ready);
    }
}

void AppState::OnSwitchTimeUp() {
    if (state == Switching) {
        ChangeState(Ready);
    }
}

void AppState::OnCheckStarted() {
    if (CanStartCommand(state)) {
        ChangeState(CheckingConnection);
    }
}

void AppState::OnCheckFailed() {
    if (state == Ready) {
        checkFailed = true;
    } else if (state == CheckingConnection) {
        checkFailed = true;
        ChangeState(Ready);
    }
}

void AppState::OnCheckTimeUp() {
    if (state == CheckingConnection) {
        ChangeState(Ready);
    }
}

void AppState::OnFirmwareNotice() {
    if (IsFetchState(state) || state == Ready) {
        firmwareNotice = true;
    }
}

}  // namespace quirn
