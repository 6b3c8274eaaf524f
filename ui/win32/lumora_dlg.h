// lumora_dlg.h: the main window: a fixed-size skinned dialog with the status controls, the
// command buttons and the collapsible detail panel.
//
// The dialog owns every piece of display state. Its handlers run on the window's thread; the
// polling worker reads and writes the members marked as shared from its own thread, and asks
// for everything that touches a window through RunOnWindowThread (the AppStateWindow calls do
// that themselves).
#pragma once

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "state/app_settings.h"
#include "state/app_state.h"
#include "state/app_state_window.h"
#include "state/profile_store.h"
#include "ui/operation_times.h"
#include "ui/poll_exchange.h"
#include "ui/win32/antenna_static.h"
#include "ui/win32/battery_static.h"
#include "ui/win32/connect_status_static.h"
#include "ui/win32/framework/bitmap_button.h"
#include "ui/win32/framework/dialog.h"
#include "ui/win32/framework/gdi.h"
#include "ui/win32/notify_static.h"

namespace quirn::win32 {

// The dialog's timers: the poll and time-out tick, the command re-issue tick and the layout
// retry until the window has a size.
inline constexpr UINT_PTR kPollTimer = 0;
inline constexpr UINT_PTR kRetryTimer = 1;
inline constexpr UINT_PTR kLayoutTimer = 2;

class CLumoraDlg : public Dialog, public AppStateWindow {
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
    // Sizes the window for the closed panel and places every control. True when the window and
    // client rectangles could be read with non-zero heights; otherwise the layout is applied
    // with what was read, and the layout timer tries again.
    bool LayoutControls();
    // Draws the skin, and the open panel with its texts, into `dc`.
    void DrawSkin(HDC dc);

    // Sets the six panel lines; any thread. They show while the panel is open.
    void SetPanelTexts(const std::array<std::wstring, 6>& texts);

    // The check mark of main-menu item `command` (first popup). Throw std::runtime_error when
    // the menu or its first popup is missing.
    bool IsMenuChecked(UINT command) const;
    void SetMenuCheck(bool checked, UINT command);

    // Runs the about dialog modally; the tray's exit command is greyed meanwhile.
    void ShowAboutDialog();

    // AppStateWindow: any thread.
    void EnableControl(int control_id, bool enable) override;
    void FocusControl(int control_id) override;
    bool ConnectionLost() const override;
    bool OperationsFailing() const override;
    bool StatusValid() const override;
    bool WorkStatusHasBtName() const override;
    float WorkLimitReach() const override;
    void SetNotice(int kind) override;
    void RefreshControls() override;

    // --- State shared with the polling worker, the tray and the settings flow ---
    PollExchange shownExchange;  // what the window shows; its kind is the next run's job
    PollExchange workExchange;   // the worker's working copy
    AppSettings settings;
    AppSettings workSettings;
    std::mutex statusLock;  // held by a worker around its status fetch
    HICON largeIcon;
    HICON smallIcon;
    AppState appState;
    std::atomic<int32_t> noticeKind{kNoticeBlank};
    OperationTimes operationTimes;
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
    bool expanded = true;  // window's thread only
    std::atomic<bool> settingsOpen{false};
    std::atomic<bool> connectionLost{false};
    std::atomic<bool> firstPoll{true};
    std::atomic<bool> statusValid{false};
    std::atomic<bool> adminPasswordMissing{false};
    std::atomic<bool> passwordRejected{false};
    std::map<int32_t, CommandRetry> commandRetries;
    NOTIFYICONDATAW trayIconData{};
    UINT taskbarCreatedMsg = 0;
    std::wstring tooltipText;
    std::atomic<bool> exitAllowed{true};
    Font panelFont;
    POINT windowPos{};  // last position of the normal (not minimised) window
    float lastDataUsage = 0.0f;

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
    void OnTimer(UINT_PTR id);
    void BindStatusControls();
    void AddAboutToSystemMenu();
    void ApplyMenuChecks();
    void RefreshControlsNow();

    ProfileStore& profile_;
    mutable std::mutex panelTextsLock_;  // the texts are set by workers and drawn by paint
    std::array<std::wstring, 6> panelTexts_;
};

}  // namespace quirn::win32
