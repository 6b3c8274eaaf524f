// main_window_view.h: what the main window's logic asks of the window, in the program's own
// words. The Windows dialog implements it over its controls, tray icon and menus; tests use a
// recording fake.
//
// Every call is made on the window's thread: the logic hands work to worker threads and takes
// their results back there (background_runner.h), so no call comes from elsewhere.
#pragma once

#include <array>
#include <string>

#include "ui/display/battery.h"
#include "ui/display/connection_label.h"
#include "ui/display/radio_antenna.h"
#include "ui/logic/message_boxes.h"
#include "ui/logic/option_dialog_model.h"

namespace quirn {

// How adding the notification-area icon went.
enum class TrayAddResult {
    kAdded,
    kTimedOut,  // the shell did not answer in time; worth trying again
    kFailed,    // any other failure
};

class MainWindowView : public MessageBoxes {
  public:
    // --- Controls of the main dialog, by control id (res/resource.h) ---
    virtual void EnableControl(int control_id, bool enable) = 0;
    virtual void ShowControl(int control_id, bool show) = 0;
    // The dialog's request to focus the control (as WM_NEXTDLGCTL with the control's handle).
    virtual void FocusControl(int control_id) = 0;
    // Repaints every child control at once, in the window's refresh order.
    virtual void RefreshControls() = 0;

    // --- Status display ---
    // Shows the text of notice number `kind` on the notice strip.
    virtual void ShowNotice(int kind) = 0;
    // Replaces the six detail-panel lines and invalidates the panel (erasing), so they show at
    // the next paint while it is open.
    virtual void SetPanelTexts(const std::array<std::wstring, 6>& texts) = 0;
    // The status controls' models; they live as long as the view. The logic sets their inputs
    // and reads them back for the tooltip; the controls paint from them.
    virtual RadioAntenna& Antenna() = 0;
    virtual Battery& BatteryGauge() = 0;
    virtual ConnectionLabel& ConnectionPicture() = 0;
    // Sizes the window and places the controls; true when the window had a size to work with.
    virtual bool LayoutControls() = 0;
    virtual void StopTimer(int timer_id) = 0;

    // --- Notification-area icon (identifier 0, callback message 0x8001) ---
    // Adds the icon with tip `tip` (at most 127 characters) and icon resource `icon_id`.
    virtual TrayAddResult AddTrayIcon(const std::wstring& tip, int icon_id) = 0;
    // Changes the added icon's tip and picture; nothing happens while it is not added.
    virtual void ModifyTrayIcon(const std::wstring& tip, int icon_id) = 0;
    virtual void RemoveTrayIcon() = 0;
    // Shows the icon's context menu (menu 174) at the cursor with item 32775 reading string
    // `restore_text_id` and item 32776 enabled or greyed; returns when it closes. The chosen
    // command arrives later as a menu command.
    virtual void ShowTrayMenu(int restore_text_id, bool exit_enabled) = 0;

    // --- The window itself ---
    // Visible and not minimised.
    virtual bool IsShownNormally() = 0;
    // Asks the window to minimise itself (a posted SC_MINIMIZE).
    virtual void Minimise() = 0;
    // Shows the window in its normal state and brings it to the foreground.
    virtual void Restore() = 0;
    // Asks the window to close as the close box does (which may only hide it).
    virtual void RequestClose() = 0;
    // Ends the main dialog, and with it the program, whatever the keep-in-tray setting.
    virtual void EndApplication() = 0;
    // Posts menu command `command_id` to the window; it arrives after the current handler.
    virtual void PostCommand(int command_id) = 0;

    // --- Main menu (menu 167, first popup) ---
    // The check mark of item `command_id`. Both throw std::runtime_error when the window's menu
    // or its first popup is missing ("IsMenuChecked::GetMenuItem failed",
    // "IsMenuChecked::SetMenuCheck failed").
    virtual bool IsMenuChecked(int command_id) = 0;
    virtual void SetMenuCheck(bool checked, int command_id) = 0;

    // --- Other windows and the system ---
    // The about dialog (template 100), modal; returns when it closes.
    virtual void RunAboutDialog() = 0;
    // The settings dialog (template 153) on `dialog`, modal; true when it closed with OK.
    virtual bool RunOptionDialog(OptionDialogModel& dialog) = 0;
    // Opens `address` with the shell's "open" verb; true when the shell accepted it.
    virtual bool OpenUrl(const std::wstring& address) = 0;
    // Creates (true) or removes (false) the autostart shortcut; failures are silent.
    virtual void SetAutostartShortcut(bool create) = 0;
};

}  // namespace quirn
