// main_window_view.h: what the main window's logic asks of the window, in the program's own
// words. The Windows dialog implements it over its controls, tray icon and menus; tests use a
// recording fake.
//
// Every call is made on the window's thread: the logic hands work to worker threads and takes
// their results back there (background_runner.h), so no call comes from elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/display/battery.h"
#include "ui/display/radio_antenna.h"
#include "ui/logic/message_boxes.h"
#include "ui/logic/option_dialog_model.h"
#include "ui/logic/window_buttons.h"

namespace quirn {

// The two options of the main menu that carry a check mark.
enum class MenuOption { kAutostart, kKeepInTray };

// How adding the notification-area icon went.
enum class TrayAddResult {
    kAdded,
    kTimedOut,  // the shell did not answer in time; worth trying again
    kFailed,    // any other failure
};

class MainWindowView : public MessageBoxes {
  public:
    // --- Buttons ---
    virtual void EnableButton(WindowButton button, bool enable) = 0;
    // The switch button is the one that comes and goes with the connection.
    virtual void ShowSwitchButton(bool show) = 0;
    // Moves the keyboard focus to `button` (as the dialog's own focus change does).
    virtual void FocusButton(WindowButton button) = 0;
    // Repaints every child control at once, in the window's refresh order.
    virtual void RefreshControls() = 0;

    // --- Status display ---
    // Shows the text of notice number `kind` on the notice strip.
    virtual void ShowNotice(int kind) = 0;
    // Replaces the six detail-panel lines; they show at the next paint while it is open.
    virtual void ShowPanelTexts(const std::array<std::wstring, 6>& texts) = 0;
    // The antenna's and the gauge's inputs from the shown status, as their models' SetStatus
    // takes them; `placeholders` shows no information.
    virtual void ShowAntenna(bool placeholders, int32_t connection_code, int32_t radio_level) = 0;
    virtual void ShowBattery(bool placeholders, int32_t level, int32_t percent) = 0;
    // The connection picture of `connection_code` (kConnectionCodeUnknown for an empty one).
    virtual void ShowConnection(int32_t connection_code) = 0;
    // What the antenna and the gauge show now, for the tooltip; they live as long as the view.
    virtual const RadioAntenna& Antenna() const = 0;
    virtual const Battery& BatteryGauge() const = 0;

    // --- Layout ---
    // Sizes the window and places the controls; true when the window had a size to work with.
    virtual bool LayoutControls() = 0;
    // The layout is done: its repeating timer stops.
    virtual void StopLayoutTimer() = 0;

    // --- Notification-area icon ---
    // Adds the icon with tip `tip` (at most 127 characters) and icon resource `icon_id`.
    virtual TrayAddResult AddTrayIcon(const std::wstring& tip, int icon_id) = 0;
    // Changes the added icon's tip and picture; nothing happens while it is not added.
    virtual void ModifyTrayIcon(const std::wstring& tip, int icon_id) = 0;
    virtual void RemoveTrayIcon() = 0;
    // Shows the icon's context menu at the cursor, its first item offering to restore the window
    // (`offer_restore`) or to minimise it, and its exit item enabled or greyed; returns when it
    // closes. The chosen command arrives later as a menu command.
    virtual void ShowTrayMenu(bool offer_restore, bool exit_enabled) = 0;
    // Shows `text`, already formatted from a string-table entry, with an OK button and `icon`,
    // owned by no window: the window may be on its way out.
    virtual void ShowTextMessage(const std::wstring& text, MessageIcon icon) = 0;

    // --- The window itself ---
    // Visible and not minimised.
    virtual bool IsShownNormally() = 0;
    // Asks the window to minimise itself (posted).
    virtual void Minimise() = 0;
    // Shows the window in its normal state and brings it to the foreground.
    virtual void Restore() = 0;
    // Ends the main dialog, and with it the program, whatever the keep-in-tray setting.
    virtual void EndApplication() = 0;
    // Has the settings command arrive after the current handler, as the menu's would.
    virtual void OpenSettingsLater() = 0;

    // --- Main menu ---
    // The check mark of `option`. Both throw std::runtime_error when the window's menu is
    // missing ("IsMenuChecked::GetMenuItem failed", "IsMenuChecked::SetMenuCheck failed").
    virtual bool IsOptionChecked(MenuOption option) = 0;
    virtual void CheckOption(MenuOption option, bool checked) = 0;

    // --- Other windows and the system ---
    // The about dialog, modal; returns when it closes.
    virtual void RunAboutDialog() = 0;
    // The settings dialog on `dialog`, modal; true when it closed with OK.
    virtual bool RunOptionDialog(OptionDialogModel& dialog) = 0;
    // Opens `address` with the shell's "open" verb; true when the shell accepted it.
    virtual bool OpenUrl(const std::wstring& address) = 0;
    // Creates (true) or removes (false) the autostart shortcut; failures are silent.
    virtual void SetAutostartShortcut(bool create) = 0;
};

}  // namespace quirn
