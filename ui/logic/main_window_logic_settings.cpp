// main_window_logic_settings.cpp: MainWindowLogic's settings dialog loop: showing it until its
// outcome is settled, setting the first administrator password on the router, and restarting
// the status poll.
#include "res/strings.h"
#include "state/stored_password.h"
#include "ui/logic/main_window_logic.h"
#include "ui/logic/option_dialog_model.h"

namespace quirn {
namespace {

// The string that says why a typed password is refused; 0 for one that fits.
int PasswordRefusalText(AdminPasswordFit fit) {
    switch (fit) {
        case AdminPasswordFit::kFits:
            return 0;
        case AdminPasswordFit::kNotInCodePage:
            return kPasswordCharacterText;
        case AdminPasswordFit::kMissing:
        case AdminPasswordFit::kStoredFormTooLong:
        case AdminPasswordFit::kLogInTooLong:
            break;
    }
    return kPasswordTooLongText;
}

}  // namespace

bool MainWindowLogic::RunSettingsDialog() {
    if (settingsOpen) {
        return false;
    }
    settingsOpen = true;
    bool answer = true;
    for (;;) {
        AppSettings working = settings;
        OptionDialogModel dialog(working, adminPasswordMissing, passwordRejected);
        if (!view_.RunOptionDialog(dialog)) {
            answer = false;
            break;
        }
        // A password that breaks the rule is typed again, in either mode, before anything is
        // stored or sent: stored as it is, it would silently become an empty one, or one that
        // is set on the router but with which no command can log in.
        if (const int refusal = PasswordRefusalText(dialog.passwordFit())) {
            view_.ShowMessage(refusal, MessageButtons::kOk, MessageIcon::kStop);
            continue;
        }
        // The dialog's own mode decides, even if a poll changed the flag while it was open.
        if (!dialog.setPasswordMode()) {
            settings = working;  // written to the profile at the next save
            StartPollIfIdle();
            break;
        }
        const std::wstring previous = settings.connect_rt_pw.value;
        const bool set = SetPasswordOnRouter(working);
        if (!set) {
            view_.ShowMessage(kSetPasswordFailedText, MessageButtons::kOk, MessageIcon::kStop);
            working.connect_rt_pw.value = previous;
        }
        settings = working;
        settings.SaveProfile(profile_);
        StartPollIfIdle();
        if (set) {
            break;
        }
    }
    settingsOpen = false;
    adminPasswordMissing = false;
    passwordRejected = false;
    return answer;
}

bool MainWindowLogic::SetPasswordOnRouter(const AppSettings& working) {
    const auto password = Utf8(DecodeStoredPassword(working.connect_rt_pw.value.c_str()).plain);
    const auto user = Utf8(working.connect_user.value);
    const auto status_password = Utf8(working.connect_pass.value);
    if (!password || !user || !status_password) {
        return false;
    }
    // The exchange may take up to the time-outs; the window keeps answering meanwhile.
    const int result = workers_.RunAndWait([library = library_, password = *password, user = *user,
                                            status_password = *status_password] {
        return static_cast<int>(
            library->SetAdminPassword(status_password.c_str(), password.c_str(), user.c_str()));
    });
    return result == lumora::kSuccess;
}

void MainWindowLogic::StartPollIfIdle() {
    if (appState.state == Ready || appState.state == Starting) {
        StartWorker(kRequestStatusPoll);
    }
}

}  // namespace quirn
