// main_dialog.h: the main window: a fixed-size skinned dialog with the status controls, the
// command buttons, the collapsible detail panel, the tray icon and the menus.
//
// What the window does is decided by its MainWindowLogic; the dialog turns its messages into
// calls on it and carries out what it asks (MainWindowView). Everything here runs on the
// window's thread: worker runs hand their results back to it through WindowMessageRunner.
#pragma once

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <memory>
#include <string>

#include "platform/win32/framework/bitmap_button.h"
#include "platform/win32/framework/dialog.h"
#include "platform/win32/framework/gdi.h"
#include "platform/win32/system/system_registry.h"
#include "platform/win32/window/antenna_static.h"
#include "platform/win32/window/battery_static.h"
#include "platform/win32/window/connect_status_static.h"
#include "platform/win32/window/notify_static.h"
#include "platform/win32/window/window_message_runner.h"
#include "state/profile_store.h"
#include "ui/layout/display_scale.h"
#include "ui/logic/clock.h"
#include "ui/logic/main_window_logic.h"
#include "ui/logic/main_window_view.h"

namespace quirn::win32 {

// The notification-area icon's callback message.
inline constexpr UINT kTrayNotifyMessage = 0x8001;
// Posted to itself on a DPI change, so that the window lays itself out after the dialog manager
// has scaled its template's controls.
inline constexpr UINT kDpiLayoutMessage = WM_APP + 0x102;

class CLumoraDlg : public Dialog, public MainWindowView {
  public:
    // `profile` is where the settings are loaded from and saved to; it outlives the dialog.
    explicit CLumoraDlg(ProfileStore& profile);
    ~CLumoraDlg() override;

    // Opens the detail panel when it is closed and closes it when it is open; the window grows
    // or shrinks by the panel's height downwards.
    void ToggleDetailPanel();
    // Creates the font of the panel texts.
    void CreatePanelFont();
    // Loads the skin pictures and binds the three bitmap buttons.
    void LoadSkinBitmaps();
    // Takes the scale for `dpi`: the window's icons, fonts and pictures for it.
    void ApplyScale(int dpi);
    // Draws the skin, and the open panel with its texts, into `dc`.
    void DrawSkin(HDC dc);

    // --- MainWindowView ---
    MessageAnswer ShowMessage(int string_id, MessageButtons buttons, MessageIcon icon) override;
    void ShowTextMessage(const std::wstring& text, MessageIcon icon) override;
    void EnableButton(WindowButton button, bool enable) override;
    void ShowSwitchButton(bool show) override;
    void FocusButton(WindowButton button) override;
    void RefreshControls() override;
    void ShowNotice(int kind) override;
    // The status controls' new inputs show when ShowPanelTexts, last in a display refresh,
    // repaints them.
    void ShowPanelTexts(const std::array<std::wstring, 6>& texts) override;
    void ShowAntenna(bool placeholders, int32_t connection_code, int32_t radio_level) override;
    void ShowBattery(bool placeholders, int32_t level, int32_t percent) override;
    void ShowConnection(int32_t connection_code) override;
    const RadioAntenna& Antenna() const override { return antennaCtrl.antenna; }
    const Battery& BatteryGauge() const override { return batteryCtrl.battery; }
    // Sizes the window for the closed panel and places every control. True when the window and
    // client rectangles could be read with non-zero heights; otherwise the layout is applied
    // with what was read, and the layout timer tries again.
    bool LayoutControls() override;
    void StopLayoutTimer() override;
    TrayAddResult AddTrayIcon(const std::wstring& tip, int icon_id) override;
    void ModifyTrayIcon(const std::wstring& tip, int icon_id) override;
    void RemoveTrayIcon() override;
    void ShowTrayMenu(bool offer_restore, bool exit_enabled) override;
    bool IsShownNormally() override;
    void Minimise() override;
    void Restore() override;
    void EndApplication() override;
    void OpenSettingsLater() override;
    bool IsOptionChecked(MenuOption option) override;
    void CheckOption(MenuOption option, bool checked) override;
    void RunAboutDialog() override;
    bool RunOptionDialog(OptionDialogModel& dialog) override;
    bool OpenUrl(const std::wstring& address) override;
    void SetAutostartShortcut(bool create) override;

    // The application icons at the sizes of the window's DPI: the large one painted when
    // minimised and dragged, the small one in the caption and (at the large size) the taskbar.
    Icon largeIcon;
    Icon smallIcon;
    Icon smallIconLarge;
    Bitmap backgroundBitmap;
    Bitmap panelBitmap;
    RECT backgroundRect{};
    RECT panelRect{};
    CAntennaStatic antennaCtrl;
    CBatteryStatic batteryCtrl;
    CConnectStatusStatic connectCtrl;
    CNotifyStatic noticeCtrl;
    BitmapButton reloadButton;
    BitmapButton switchButton;
    BitmapButton detailButton;
    bool expanded = true;
    NOTIFYICONDATAW trayIconData{};
    UINT taskbarCreatedMsg = 0;
    Font panelFont;
    POINT windowPos{};  // last position of the normal (not minimised) window
    DisplayScale scale;  // what the window's pictures, fonts and layout are drawn at

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool PreTranslateMessage(MSG& message) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void OnPaint();
    LRESULT OnCtlColor(UINT message, WPARAM wparam, LPARAM lparam);
    void OnMove();
    void OnDpiLayout();
    void LoadWindowIcons(int dpi);
    void LoadSkinPictures();
    // Sizes the window for the skin (and the open panel) and places the controls.
    bool PlaceControls();
    void OnShutDown(ShutdownCause cause);
    void BindStatusControls();
    void AddAboutToSystemMenu();
    void ApplyMenuChecks();
    void RefreshControlsNow();

    ProfileStore& profile_;
    SystemClock clock_;
    SystemRegistry registry_;
    WindowMessageRunner workers_;
    std::array<std::wstring, 6> panelTexts_;
    int pendingDpi_ = 0;           // the DPI of the last change, laid out by kDpiLayoutMessage
    RECT pendingDpiRect_{};        // and the rectangle Windows suggested for it
    // Declared last: it refers to the members above, and goes first.
    std::unique_ptr<MainWindowLogic> logic_;
};

}  // namespace quirn::win32
