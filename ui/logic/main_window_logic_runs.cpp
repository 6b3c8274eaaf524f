// main_window_logic_runs.cpp: MainWindowLogic's worker runs from start to finish: the start step
// of each job, the handling of each outcome (with the re-issue after a password prompt), the
// staleness check and the display refresh.
#include <utility>

#include "common/net/http_request.h"
#include "res/resource.h"
#include "res/strings.h"
#include "ui/display/connection_label.h"
#include "ui/logic/display_texts.h"
#include "ui/logic/main_window_logic.h"
#include "ui/logic/tray_tip.h"

namespace quirn {

// One run: the exchange it works on, taken from the shown one as it began.
struct MainWindowLogic::Run {
    PollExchange exchange;
};

void MainWindowLogic::StartWorker(int32_t kind) {
    shownExchange.request_kind = kind;
    workExchange = shownExchange;
    workSettings = settings;
    Run run{workExchange};
    const std::optional<RunCredentials> credentials = PrepareCredentials(workSettings);
    const int64_t now = clock_.NowSeconds();
    OperationTimes& times = operationTimes;

    // The router exchange runs on the worker thread on copies only: it may outlive the window.
    std::function<NetworkOutcome()> job;
    auto command = [&](int command_index) -> std::function<NetworkOutcome()> {
        if (!credentials) {
            return nullptr;
        }
        return [library = library_, credentials = *credentials, command_index] {
            return RunCommand(*library, credentials, command_index);
        };
    };
    switch (kind) {
        case kRequestStatusPoll:
            appState.PostEvent(FetchStarted);
            times.pollStarted = now;
            if (credentials) {
                job = [library = library_, lock = statusLock_, credentials = *credentials] {
                    return FetchStatus(*library, *lock, credentials);
                };
            }
            break;
        case kRequestSwitch:
            appState.PostEvent(SwitchStarted);
            times.switchPending = true;
            times.switchStarted = now;
            job = command(SwitchCommandIndex(run.exchange.status.connection_code));
            break;
        case kRequestReboot:
            appState.PostEvent(RebootStarted);
            times.rebootPending = true;
            times.rebootStarted = now;
            job = command(lumora::kReboot);
            break;
        case kRequestStandby:
            appState.PostEvent(StandbyStarted);
            times.standbyPhase = 1;
            times.standbyStarted = now;
            job = command(lumora::kStandby);
            break;
        case kRequestConnectionCheck:
            appState.PostEvent(CheckStarted);
            times.checkPending = true;
            times.checkStarted = now;
            job = [library = library_] { return RunConnectionCheck(*library); };
            break;
        default:
            // An unknown kind has no job; the run only publishes and refreshes.
            Finish(run.exchange);
            return;
    }
    if (!job) {
        FinishRun(std::move(run), NetworkOutcome{});  // credentials that cannot be sent
        return;
    }
    const bool started = workers_.Start([this, job = std::move(job), run]() -> WindowTask {
        NetworkOutcome outcome = job();
        return [this, run, outcome = std::move(outcome)] { FinishRun(run, outcome); };
    });
    if (!started) {
        FinishRun(std::move(run), NetworkOutcome{});
    }
}

void MainWindowLogic::FinishRun(Run run, NetworkOutcome outcome) {
    PollExchange& exchange = run.exchange;
    exchange.result = outcome.result;
    if (outcome.status) {
        exchange.status = std::move(*outcome.status);
    } else {
        // No status fetched (a command, a check, a failed poll): the newest one stays, which a
        // poll that ran meanwhile may have brought after this run took its copy.
        exchange.status = shownExchange.status;
    }
    workExchange = exchange;
    switch (exchange.request_kind) {
        case kRequestStatusPoll:
            HandlePollOutcome(exchange);
            break;
        case kRequestSwitch:
        case kRequestReboot:
        case kRequestStandby:
            HandleCommandOutcome(exchange);
            break;
        case kRequestConnectionCheck:
            HandleCheckOutcome(exchange);
            break;
        default:
            break;
    }
    Finish(exchange);
}

void MainWindowLogic::HandlePollOutcome(const PollExchange& exchange) {
    const DisplayStatus& status = exchange.status;
    if (exchange.result == lumora::kSuccess) {
        operationTimes.failing = false;
        statusValid = true;
        connectionLost = false;
        appState.PostEvent(FetchSucceeded);
        if (firstPoll && status.firmware_notice == 1 &&
            view_.ShowMessage(kFirmwarePromptText, MessageButtons::kYesNo,
                              MessageIcon::kQuestion) == MessageAnswer::kYes) {
            OpenFirmwarePage();
        }
        const int32_t code = status.connection_code;
        if (code == 1 || code == 3 || code == 4) {
            view_.ShowSwitchButton(true);
            view_.EnableButton(WindowButton::kSwitch, true);
        } else {
            view_.ShowSwitchButton(false);
        }
        view_.EnableButton(WindowButton::kReload, true);
        view_.EnableButton(WindowButton::kStandby, !status.bt_name.empty());
        view_.EnableButton(WindowButton::kReboot, true);
        view_.EnableButton(WindowButton::kCheck, true);
        view_.ShowConnection(code);
        WarnAboutDataVolume(status.limit_reach);
    } else {
        view_.FocusButton(WindowButton::kReload);
        for (WindowButton button : {WindowButton::kSwitch, WindowButton::kStandby,
                                    WindowButton::kReboot, WindowButton::kCheck}) {
            view_.EnableButton(button, false);
        }
        if (exchange.result == lumora::kAuthRefused) {
            adminPasswordMissing = true;
            appState.PostEvent(AuthFailed);
            // Before the first success the series from start-up is still running.
            if (statusValid) {
                MarkFailureSeries();
            }
            if (!settingsOpen && !passwordPromptShowing) {
                passwordPromptShowing = true;
                view_.ShowMessage(kAdminPasswordPromptText, MessageButtons::kOk,
                                  MessageIcon::kStop);
                // Posted, so the settings dialog opens once this run has finished.
                view_.OpenSettingsLater();
                passwordPromptShowing = false;
            }
        } else {
            appState.PostEvent(FetchFailed);
            MarkFailureSeries();
        }
    }
    firstPoll = false;
}

void MainWindowLogic::WarnAboutDataVolume(float limit_reach) {
    // Once when the ratio crosses 100 %, and again only after it has dropped below.
    if (lastDataUsage < 100.0f && limit_reach >= 100.0f && !volumePromptShowing) {
        volumePromptShowing = true;
        view_.ShowMessage(kVolumeExceededPromptText, MessageButtons::kOk,
                          MessageIcon::kExclamation);
        lastDataUsage = limit_reach;
        volumePromptShowing = false;
    } else {
        lastDataUsage = limit_reach;
    }
}

void MainWindowLogic::MarkFailureSeries() {
    if (!operationTimes.failing) {
        operationTimes.failingSince = clock_.NowSeconds();
    }
    operationTimes.failing = true;
}

void MainWindowLogic::HandleCommandOutcome(const PollExchange& exchange) {
    const int32_t kind = exchange.request_kind;
    const int32_t result = exchange.result;
    OperationTimes& times = operationTimes;
    if (result == lumora::kSuccess) {
        commandRetries[kind].retried = false;
        if (kind == kRequestStandby) {
            view_.ShowSwitchButton(false);
            view_.ShowConnection(kConnectionCodeUnknown);
            times.standbyPhase = 2;  // the next tick ends the program
        }
        return;
    }
    switch (kind) {
        case kRequestReboot:
            times.rebootPending = false;
            break;
        case kRequestStandby:
            times.standbyPhase = 0;
            break;
        case kRequestSwitch:
            times.switchPending = false;
            break;
    }
    if (result == lumora::kAuthRefused) {
        HandlePasswordRefusal(kind);
        return;
    }
    appState.PostEvent(kind == kRequestReboot    ? RebootFailed
                       : kind == kRequestStandby ? StandbyFailed
                                                 : SwitchFailed);
}

void MainWindowLogic::HandlePasswordRefusal(int32_t kind) {
    CommandRetry& retry = commandRetries[kind];
    if (retry.retried) {
        // The re-issued command was refused too: no second prompt.
        appState.PostEvent(AuthFailed);
        retry.retried = false;
        return;
    }
    if (settingsOpen || authPromptShowing) {
        // The password is being entered already; the command is over all the same, and
        // AuthFailed brings the machine back to Ready, where polls and commands start again.
        appState.PostEvent(AuthFailed);
        return;
    }
    authPromptShowing = true;
    passwordRejected = true;
    view_.ShowMessage(kPasswordRejectedPromptText, MessageButtons::kOk, MessageIcon::kStop);
    if (RunSettingsDialog()) {
        retry.retried = true;
        retry.pending = true;  // timer 1 issues the command once more
    } else {
        appState.PostEvent(AuthFailed);
    }
    authPromptShowing = false;
}

void MainWindowLogic::HandleCheckOutcome(const PollExchange& exchange) {
    if (exchange.result == lumora::kSuccess) {
        // The timer ends the checking state.
        view_.ShowMessage(kCheckSucceededText, MessageButtons::kOk, MessageIcon::kInformation);
        return;
    }
    view_.ShowMessage(kCheckFailedText, MessageButtons::kOk, MessageIcon::kExclamation);
    appState.PostEvent(exchange.result == lumora::kAuthRefused ? AuthFailed : CheckFailed);
    operationTimes.checkPending = false;
}

void MainWindowLogic::Finish(const PollExchange& exchange) {
    workExchange = exchange;
    shownExchange = exchange;
    if (operationTimes.failing && Elapsed(operationTimes.failingSince, kStaleAfterSeconds)) {
        appState.PostEvent(StatusStale);
        connectionLost = true;
        view_.ShowSwitchButton(false);
        view_.ShowConnection(kConnectionCodeUnknown);
    }
    RefreshDisplay();
    appState.SelectNotice();
}

bool MainWindowLogic::ShowPlaceholders() const {
    return appState.stale || (!statusValid && operationTimes.failing) ||
           appState.state == EnteringStandby;
}

void MainWindowLogic::RefreshDisplay() {
    const DisplayStatus& status = shownExchange.status;
    const bool placeholders = ShowPlaceholders();
    view_.ShowAntenna(placeholders, status.connection_code, status.radio_level);
    if (status.firmware_notice != 0) {
        appState.PostEvent(FirmwareNotice);
    }
    view_.ShowBattery(placeholders, status.battery_level, status.battery_percent);
    panelTexts = MakePanelTexts(status, placeholders);
    view_.ShowPanelTexts(panelTexts);
    UpdateTrayTip();
}

void MainWindowLogic::UpdateTrayTip() {
    TrayTipInputs inputs;
    inputs.stale = appState.stale;
    inputs.status_valid = statusValid;
    inputs.connection_lost = connectionLost;
    inputs.state = appState.state;
    inputs.connection_text = shownExchange.status.connection_text;
    inputs.antenna = view_.Antenna().Inputs();
    inputs.battery = view_.BatteryGauge().Inputs();
    inputs.battery_icon = view_.BatteryGauge().GetTrayIcon();
    const TrayTip tip = ComposeTrayTip(inputs);
    tooltipText = tip.text;
    view_.ModifyTrayIcon(tooltipText, tip.icon_id);
}

}  // namespace quirn
