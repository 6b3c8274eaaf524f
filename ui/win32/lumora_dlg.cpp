// lumora_dlg.cpp: the main window's construction, start-up sequence, message dispatch and small
// handlers (close, move, colours), and the calls of the application state machine.
#include "ui/win32/lumora_dlg.h"

#include <ctime>

#include "res/resource.h"
#include "res/strings.h"
#include "ui/main_layout.h"
#include "ui/win32/about_dlg.h"
#include "ui/win32/framework/control.h"
#include "ui/win32/framework/resources.h"

namespace quirn::win32 {

CLumoraDlg::CLumoraDlg(ProfileStore& profile)
    : Dialog(IDD_QUIRN_DIALOG, nullptr),
      largeIcon(LoadIconResource(IDI_APP_LARGE)),
      smallIcon(LoadIconResource(IDI_APP_SMALL)),
      operationTimes(static_cast<int64_t>(std::time(nullptr))),
      commandRetries(MakeCommandRetries()),
      profile_(profile) {}

CLumoraDlg::~CLumoraDlg() = default;

bool CLumoraDlg::OnInitDialog() {
    BindStatusControls();
    AddAboutToSystemMenu();
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(smallIcon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    // Missing entries take their defaults; whether all were found does not matter here.
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    settings.LoadProfile(profile_,
                         DesktopRect{desktop.left, desktop.top, desktop.right, desktop.bottom});
    settings.SetStatusPageAccount();

    // The saved position is applied as it is, even off the screen.
    MoveWindowTo(hwnd(), settings.window_pos_x.value, settings.window_pos_y.value);
    windowPos = POINT{settings.window_pos_x.value, settings.window_pos_y.value};

    CreatePanelFont();
    tooltipText = StringText(kNoticeFetchFailedText);

    // The panel starts open, so this closes it; the skin is not loaded yet, so the window's
    // height changes only when the layout below sizes it.
    ToggleDetailPanel();
    LoadSkinBitmaps();
    LayoutControls();

    // The gauge shows "??%" until the first status: no information stays set.
    batteryCtrl.battery.ResetForStartUp();
    InvalidateRect(batteryCtrl.hwnd(), nullptr, TRUE);

    SetTimer(hwnd(), kPollTimer, 1000, nullptr);
    SetTimer(hwnd(), kRetryTimer, 100, nullptr);
    SetTimer(hwnd(), kLayoutTimer, 10, nullptr);

    appState.window = this;
    appState.ChangeState(Starting);
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
    if (CloseActionFor(settings.app_keep_task.value) == CloseAction::kHide) {
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
    if (id == ID_HELP_ABOUT && code == 0) {
        ShowAboutDialog();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

bool CLumoraDlg::PreTranslateMessage(MSG& message) {
    // Escape never closes the window (the close box and the menus do).
    return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
}

void CLumoraDlg::ShowAboutDialog() {
    exitAllowed = false;
    CAboutDlg about(hwnd());
    about.DoModal();
    exitAllowed = true;
}

std::optional<LRESULT> CLumoraDlg::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return FALSE;  // the skin covers everything; erasing would only flicker
        case WM_QUERYDRAGICON:
            return reinterpret_cast<LRESULT>(largeIcon);
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
        case WM_TIMER:
            OnTimer(wparam);
            return std::nullopt;
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0) == IDM_ABOUTBOX) {
                ShowAboutDialog();
                return 0;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
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

void CLumoraDlg::OnTimer(UINT_PTR id) {
    if (id == kLayoutTimer && LayoutControls()) {
        KillTimer(hwnd(), kLayoutTimer);
    }
}

void CLumoraDlg::EnableControl(int control_id, bool enable) {
    RunOnWindowThread([&] { EnableWindow(Item(control_id), enable ? TRUE : FALSE); });
}

void CLumoraDlg::FocusControl(int control_id) {
    RunOnWindowThread([&] {
        if (HWND control = Item(control_id)) {
            SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        }
    });
}

bool CLumoraDlg::ConnectionLost() const {
    return connectionLost;
}

bool CLumoraDlg::OperationsFailing() const {
    return operationTimes.failing;
}

bool CLumoraDlg::StatusValid() const {
    return statusValid;
}

bool CLumoraDlg::WorkStatusHasBtName() const {
    return !workExchange.status.bt_name.empty();
}

float CLumoraDlg::WorkLimitReach() const {
    return workExchange.status.limit_reach;
}

void CLumoraDlg::SetNotice(int kind) {
    noticeKind = kind;
    noticeCtrl.label.SetNotice(kind);
}

void CLumoraDlg::RefreshControls() {
    RunOnWindowThread([this] { RefreshControlsNow(); });
}

}  // namespace quirn::win32
