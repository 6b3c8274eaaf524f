// main_window_logic.cpp: MainWindowLogic's start-up, command buttons and timers, and what the
// state machine reads from and asks of the window. The other parts are main_window_logic_*.cpp.
#include "ui/logic/main_window_logic.h"

#include <optional>

#include "res/resource.h"
#include "res/strings.h"

namespace quirn {

MainWindowLogic::MainWindowLogic(MainWindowView& view, Clock& clock, BackgroundRunner& workers,
                                 std::shared_ptr<RouterLibrary> library, RegistryReader& registry,
                                 ProfileStore& profile)
    : operationTimes(clock.NowSeconds()),
      commandRetries(MakeCommandRetries()),
      tooltipText(StringText(kNoticeFetchFailedText)),
      view_(view),
      clock_(clock),
      workers_(workers),
      library_(std::move(library)),
      registry_(registry),
      profile_(profile),
      statusLock_(std::make_shared<std::mutex>()) {}

MainWindowLogic::~MainWindowLogic() {
    appState.window = nullptr;
}

void MainWindowLogic::LoadSettings(const DesktopRect& desktop) {
    settings.LoadProfile(profile_, desktop);
    settings.SetStatusPageAccount();
}

void MainWindowLogic::StartPolling() {
    appState.window = this;
    appState.ChangeState(Starting);
    StartWorker(kRequestStatusPoll);
}

bool MainWindowLogic::OnButtonClicked(int control_id) {
    // A confirmation is asked first; the state is tested once the box has closed.
    auto confirmed = [this](int string_id) {
        return view_.ShowMessage(string_id, MessageButtons::kOkCancel, MessageIcon::kQuestion) ==
               MessageAnswer::kOk;
    };
    int32_t kind;
    switch (control_id) {
        case IDC_RELOAD:
            kind = kRequestStatusPoll;
            break;
        case IDC_SWITCH:
            kind = kRequestSwitch;
            break;
        case IDC_REBOOT:
            if (!confirmed(kRebootConfirmText)) {
                return true;
            }
            kind = kRequestReboot;
            break;
        case IDC_STANDBY:
            if (!confirmed(kStandbyConfirmText)) {
                return true;
            }
            kind = kRequestStandby;
            break;
        case IDC_CHECK:
            kind = kRequestConnectionCheck;
            break;
        default:
            return false;
    }
    if (appState.state == Ready) {
        StartWorker(kind);
    }
    return true;
}

bool MainWindowLogic::Elapsed(int64_t since, int64_t limit_seconds) const {
    // A clock set back gives a negative difference, which never counts as elapsed.
    return clock_.NowSeconds() - since > limit_seconds;
}

void MainWindowLogic::OnTimer(int timer_id) {
    switch (timer_id) {
        case kPollTimerId:
            OnPollTick();
            break;
        case kRetryTimerId:
            for (int32_t kind : {kRequestReboot, kRequestStandby, kRequestSwitch}) {
                CommandRetry& retry = commandRetries[kind];
                if (retry.pending) {
                    retry.pending = false;
                    StartWorker(kind);
                }
            }
            break;
        case kLayoutTimerId:
            if (view_.LayoutControls()) {
                view_.StopLayoutTimer();
            }
            break;
        default:
            break;
    }
}

void MainWindowLogic::OnPollTick() {
    if (trayRetryDue_) {
        RegisterTrayIcon();
    }
    // Until the first poll has finished, nothing is due and no command can be under way.
    if (!firstPoll) {
        OperationTimes& times = operationTimes;
        const int64_t cycle_seconds = static_cast<uint32_t>(settings.reload_cycle.value) / 1000;
        if (Elapsed(times.pollStarted, cycle_seconds) && appState.state == Ready) {
            StartWorker(kRequestStatusPoll);
        }
        if (times.rebootPending && Elapsed(times.rebootStarted, kRebootWaitSeconds)) {
            appState.PostEvent(RebootTimeUp);
            times.rebootPending = false;
        }
        if (times.standbyPhase == 2) {
            times.standbyPhase = 0;
            view_.EndApplication();
        }
        if (times.switchPending && Elapsed(times.switchStarted, 0)) {
            appState.PostEvent(SwitchTimeUp);
            times.switchPending = false;
        }
        if (times.checkPending && Elapsed(times.checkStarted, 0)) {
            appState.PostEvent(CheckTimeUp);
            times.checkPending = false;
        }
    }
    appState.SelectNotice();
}

void MainWindowLogic::EnableControl(int control_id, bool enable) {
    if (const std::optional<WindowButton> button = ButtonOf(control_id)) {
        view_.EnableButton(*button, enable);
    }
}

void MainWindowLogic::FocusControl(int control_id) {
    if (const std::optional<WindowButton> button = ButtonOf(control_id)) {
        view_.FocusButton(*button);
    }
}

bool MainWindowLogic::ConnectionLost() const {
    return connectionLost;
}

bool MainWindowLogic::OperationsFailing() const {
    return operationTimes.failing;
}

bool MainWindowLogic::StatusValid() const {
    return statusValid;
}

bool MainWindowLogic::WorkStatusHasBtName() const {
    return !workExchange.status.bt_name.empty();
}

float MainWindowLogic::WorkLimitReach() const {
    return workExchange.status.limit_reach;
}

void MainWindowLogic::SetNotice(int kind) {
    noticeKind = kind;
    view_.ShowNotice(kind);
}

void MainWindowLogic::RefreshControls() {
    view_.RefreshControls();
}

}  // namespace quirn
