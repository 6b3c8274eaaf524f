// main_window_logic_tray_menus.cpp: MainWindowLogic's tray icon (registration, clicks), menu
// commands and toggles, the about command, the firmware page, and what happens at shutdown.
#include <stdexcept>

#include "res/resource.h"
#include "res/strings.h"
#include "ui/logic/display_texts.h"
#include "ui/logic/firmware_page.h"
#include "ui/logic/main_window_logic.h"
#include "ui/logic/tray_tip.h"

namespace quirn {

void MainWindowLogic::RegisterTrayIcon() {
    trayRetryDue_ = false;
    switch (view_.AddTrayIcon(CutToTrayTip(tooltipText), IDI_APP_SMALL)) {
        case TrayAddResult::kAdded:
            trayAdded_ = true;
            break;
        case TrayAddResult::kTimedOut:
            // A busy shell: the next tick of timer 0 tries again, so the window never waits.
            trayRetryDue_ = true;
            break;
        case TrayAddResult::kFailed:
            view_.ShowMessage(kTrayIconFailedText, MessageButtons::kOk, MessageIcon::kExclamation);
            // Ended, not closed: with keep-in-tray a close would only hide the window, leaving
            // a program with neither a window nor an icon to reach it by.
            view_.EndApplication();
            break;
    }
}

void MainWindowLogic::OnTaskbarCreated() {
    trayAdded_ = false;  // the icon went with the old taskbar
    RegisterTrayIcon();
}

void MainWindowLogic::OnTrayNotify(TrayMouseEvent event) {
    switch (event) {
        case TrayMouseEvent::kLeftButtonUp:
            RestoreOrMinimise();
            break;
        case TrayMouseEvent::kRightButtonUp:
            view_.ShowTrayMenu(!view_.IsShownNormally(), exitAllowed);
            break;
        case TrayMouseEvent::kOther:
            break;
    }
}

void MainWindowLogic::RestoreOrMinimise() {
    if (view_.IsShownNormally()) {
        view_.Minimise();
    } else {
        view_.Restore();
    }
}

bool MainWindowLogic::OnMenuCommand(int command_id) {
    switch (command_id) {
        case ID_HELP_ABOUT:
            ShowAbout();
            break;
        case ID_SYSTEM_SETTINGS:
            RunSettingsDialog();
            break;
        case ID_SYSTEM_EXIT:
        case ID_TRAY_EXIT:
            // Ends the program even when closing the window would only hide it.
            view_.EndApplication();
            break;
        case ID_TRAY_RESTORE:
            RestoreOrMinimise();
            break;
        case ID_SYSTEM_AUTOSTART:
            ToggleAutostart();
            break;
        case ID_SYSTEM_KEEP_IN_TRAY:
            ToggleKeepInTray();
            break;
        case ID_HELP_ONLINE:
            view_.OpenUrl(StringText(kOnlineHelpAddressText));  // a failure is not reported
            break;
        default:
            return false;
    }
    return true;
}

bool MainWindowLogic::OnSysCommand(unsigned command) {
    if ((command & 0xFFF0u) != IDM_ABOUTBOX) {
        return false;
    }
    ShowAbout();
    return true;
}

void MainWindowLogic::ShowAbout() {
    exitAllowed = false;
    view_.RunAboutDialog();
    exitAllowed = true;
}

void MainWindowLogic::ToggleAutostart() {
    bool create = false;
    try {
        if (view_.IsOptionChecked(MenuOption::kAutostart)) {
            view_.CheckOption(MenuOption::kAutostart, false);
            settings.app_startup.value = 0;
        } else {
            view_.CheckOption(MenuOption::kAutostart, true);
            settings.app_startup.value = 1;
            create = true;
        }
    } catch (const std::exception&) {
        // Without the menu the shortcut is removed, the safe side.
    }
    view_.SetAutostartShortcut(create);
}

void MainWindowLogic::ToggleKeepInTray() {
    try {
        if (view_.IsOptionChecked(MenuOption::kKeepInTray)) {
            view_.CheckOption(MenuOption::kKeepInTray, false);
            settings.app_keep_task.value = 0;
        } else if (view_.ShowMessage(kKeepInTrayConfirmText, MessageButtons::kYesNo,
                                     MessageIcon::kNone) == MessageAnswer::kYes) {
            view_.CheckOption(MenuOption::kKeepInTray, true);
            settings.app_keep_task.value = 1;
        }
    } catch (const std::exception&) {
        // Without the menu the setting stays as it is.
    }
}

void MainWindowLogic::OpenFirmwarePage() {
    view_.OpenUrl(FirmwarePageAddress(settings, IsDefaultBrowserIE(registry_)));
}

void MainWindowLogic::ShutDown(int32_t window_left, int32_t window_top, ShutdownCause cause) {
    settings.window_pos_x.value = window_left;
    settings.window_pos_y.value = window_top;
    const bool saved = settings.SaveProfile(profile_);
    trayRetryDue_ = false;
    if (trayAdded_) {
        view_.RemoveTrayIcon();
        trayAdded_ = false;
    }
    sessionEnding_ = sessionEnding_ || cause == ShutdownCause::kSessionEnds;
    // Once, so that the window destroyed after it does not tell it again.
    if (!saved && !sessionEnding_ && !saveFailureShown_) {
        saveFailureShown_ = true;
        view_.ShowTextMessage(FormatString(kProfileNotSavedText, profile_.Location()),
                              MessageIcon::kStop);
    }
}

}  // namespace quirn
