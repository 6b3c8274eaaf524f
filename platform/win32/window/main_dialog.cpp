// main_dialog.cpp: the main window's construction, start-up sequence, message dispatch and small
// handlers (close, move, colours, shutdown).
#include "platform/win32/window/main_dialog.h"

#include "res/resource.h"
#include "res/strings.h"
#include "ui/display/control_colour.h"
#include "ui/logic/tray_options.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/dpi.h"
#include "platform/win32/framework/resources.h"
#include "platform/win32/window/main_window_mark.h"
#include "platform/win32/window/owned_message_boxes.h"

namespace quirn::win32 {

CLumoraDlg::CLumoraDlg(ProfileStore& profile)
    : Dialog(IDD_QUIRN_DIALOG, nullptr),
      profile_(profile),
      logic_(std::make_unique<MainWindowLogic>(*this, clock_, workers_, MakeLumoraRouterLibrary(),
                                               registry_, profile_)) {}

CLumoraDlg::~CLumoraDlg() {
    // Results still on their way are dropped: the logic they would run on goes now.
    workers_.Detach();
}

bool CLumoraDlg::OnInitDialog() {
    MarkMainWindow(hwnd());
    taskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");
    workers_.Attach(hwnd());
    BindStatusControls();
    AddAboutToSystemMenu();
    ApplyScale(WindowDpi(hwnd()));

    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    logic_->LoadSettings(DesktopRect{desktop.left, desktop.top, desktop.right, desktop.bottom});
    // The saved position is applied as it is, even off the screen.
    const AppSettings& settings = logic_->Settings();
    MoveWindowTo(hwnd(), settings.window_pos_x.value, settings.window_pos_y.value);
    windowPos = POINT{settings.window_pos_x.value, settings.window_pos_y.value};

    CreatePanelFont();
    // The panel starts open, so this closes it; the skin is not loaded yet, so the window's
    // height changes only when the layout below sizes it.
    ToggleDetailPanel();
    LoadSkinBitmaps();
    LayoutControls();

    // The gauge shows "??%" until the first status: no information stays set.
    batteryCtrl.battery.ResetForStartUp();
    InvalidateRect(batteryCtrl.hwnd(), nullptr, TRUE);

    logic_->RegisterTrayIcon();
    SetTimer(hwnd(), kPollTimerId, kPollTimerMs, nullptr);
    SetTimer(hwnd(), kRetryTimerId, kRetryTimerMs, nullptr);
    SetTimer(hwnd(), kLayoutTimerId, kLayoutTimerMs, nullptr);
    logic_->StartPolling();
    return true;
}

void CLumoraDlg::BindStatusControls() {
    antennaCtrl.Attach(hwnd(), IDC_ANTENNA);
    batteryCtrl.Attach(hwnd(), IDC_BATTERY);
    connectCtrl.Attach(hwnd(), IDC_CONNECT_STATUS);
    noticeCtrl.Attach(hwnd(), IDC_NOTICE);
}

void CLumoraDlg::AddAboutToSystemMenu() {
    HMENU system_menu = GetSystemMenu(hwnd(), FALSE);
    if (system_menu == nullptr) {
        return;
    }
    const std::wstring about = StringText(kAboutMenuText);
    if (!about.empty()) {
        AppendMenuW(system_menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
    }
    RemoveMenu(system_menu, SC_MAXIMIZE, MF_BYCOMMAND);
    RemoveMenu(system_menu, SC_SIZE, MF_BYCOMMAND);
}

void CLumoraDlg::OnOK() {
    // Enter and the OK command never close the window.
}

void CLumoraDlg::OnCancel() {
    if (CloseActionFor(logic_->Settings().app_keep_task.value) == CloseAction::kHide) {
        ShowWindow(hwnd(), SW_HIDE);  // still reachable through the tray icon
    } else {
        EndDialog(IDCANCEL);
    }
}

bool CLumoraDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_DETAIL && code == BN_CLICKED) {
        ToggleDetailPanel();
        return true;
    }
    if (code == BN_CLICKED && control != nullptr && logic_->OnButtonClicked(id)) {
        return true;
    }
    if (code == 0 && control == nullptr && logic_->OnMenuCommand(id)) {
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

bool CLumoraDlg::PreTranslateMessage(MSG& message) {
    // Escape never closes the window (the close box and the menus do).
    return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
}

std::optional<LRESULT> CLumoraDlg::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    // The shell announces a new taskbar with a broadcast that is sent, not posted, so it never
    // passes the message loop: it is handled here.
    if (message == taskbarCreatedMsg && taskbarCreatedMsg != 0) {
        logic_->OnTaskbarCreated();
        return 0;
    }
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return FALSE;  // the skin covers everything; erasing would only flicker
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(largeIcon.get());
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORMSGBOX:
            return OnCtlColor(message, wparam, lparam);
        case WM_MOVE:
            OnMove();
            return std::nullopt;
        case WM_DPICHANGED: {
            // The dialog manager scales the template's controls and moves the window after
            // this; the window's own layout follows once it has.
            pendingDpi_ = HIWORD(wparam);
            pendingDpiRect_ = *reinterpret_cast<const RECT*>(lparam);
            PostMessageW(hwnd(), kDpiLayoutMessage, 0, 0);
            return std::nullopt;
        }
        case kDpiLayoutMessage:
            OnDpiLayout();
            return 0;
        case WM_TIMER:
            logic_->OnTimer(static_cast<int>(wparam));
            return 0;
        case WindowMessageRunner::kResultMessage:
            workers_.RunPending();
            return 0;
        case kTrayNotifyMessage:
            logic_->OnTrayNotify(lparam == WM_LBUTTONUP   ? TrayMouseEvent::kLeftButtonUp
                                 : lparam == WM_RBUTTONUP ? TrayMouseEvent::kRightButtonUp
                                                          : TrayMouseEvent::kOther);
            return 0;
        case WM_SYSCOMMAND:
            if (logic_->OnSysCommand(static_cast<unsigned>(wparam))) {
                return 0;
            }
            return std::nullopt;
        case WM_QUERYENDSESSION:
            // The session may end without the window being destroyed: save now.
            OnShutDown(ShutdownCause::kSessionEnds);
            return TRUE;
        case WM_DESTROY:
            OnShutDown(ShutdownCause::kProgramEnds);
            workers_.Detach();
            UnmarkMainWindow(hwnd());
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

void CLumoraDlg::OnShutDown(ShutdownCause cause) {
    logic_->ShutDown(windowPos.x, windowPos.y, cause);
}

LRESULT CLumoraDlg::OnCtlColor(UINT message, WPARAM wparam, LPARAM lparam) {
    const LRESULT default_brush = DefaultControlColour(message, wparam, lparam);
    const ColourRequest request = message == WM_CTLCOLORDLG      ? ColourRequest::kDialog
                                  : message == WM_CTLCOLORSTATIC ? ColourRequest::kStatic
                                                                 : ColourRequest::kOther;
    switch (ChooseControlColour(request, reinterpret_cast<HWND>(lparam) == hwnd())) {
        case ControlColour::kWhiteStatic:
            SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
            [[fallthrough]];
        case ControlColour::kWhite:
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        case ControlColour::kDefault:
            break;
    }
    return default_brush;
}

void CLumoraDlg::OnMove() {
    // A minimised window's position is not where it should reopen.
    RECT window{};
    if (!IsIconic(hwnd()) && GetWindowRect(hwnd(), &window)) {
        windowPos = POINT{window.left, window.top};
    }
}

MessageAnswer CLumoraDlg::ShowMessage(int string_id, MessageButtons buttons, MessageIcon icon) {
    return ShowOwnedMessage(hwnd(), string_id, buttons, icon);
}

void CLumoraDlg::ShowTextMessage(const std::wstring& text, MessageIcon icon) {
    ShowUnownedTextMessage(text, icon);
}

void CLumoraDlg::EnableButton(WindowButton button, bool enable) {
    EnableWindow(Item(ControlIdOf(button)), enable ? TRUE : FALSE);
}

void CLumoraDlg::ShowSwitchButton(bool show) {
    ShowWindow(Item(IDC_SWITCH), show ? SW_SHOW : SW_HIDE);
}

void CLumoraDlg::FocusButton(WindowButton button) {
    if (HWND control = Item(ControlIdOf(button))) {
        SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

void CLumoraDlg::RefreshControls() {
    RefreshControlsNow();
}

void CLumoraDlg::ShowNotice(int kind) {
    noticeCtrl.label.SetNotice(kind);
    InvalidateRect(noticeCtrl.hwnd(), nullptr, FALSE);
}

void CLumoraDlg::StopLayoutTimer() {
    KillTimer(hwnd(), kLayoutTimerId);
}

}  // namespace quirn::win32
