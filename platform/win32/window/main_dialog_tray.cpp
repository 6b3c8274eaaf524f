// main_dialog_tray.cpp: the main window's notification-area icon and its menu, showing and
// hiding the window, and the other windows and system services it opens.
#include <algorithm>
#include <iterator>

#include "platform/win32/system/autostart_shortcut.h"
#include "res/resource.h"
#include "res/strings.h"
#include "platform/win32/window/about_dlg.h"
#include "platform/win32/framework/resources.h"
#include "platform/win32/window/main_dialog.h"
#include "platform/win32/window/option_dlg.h"

namespace quirn::win32 {
namespace {

// The record's size up to and including the balloon fields, which every shell since Windows XP
// reads; the fields after them are not used.
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAW_V3_SIZE;

void SetTip(NOTIFYICONDATAW& record, const std::wstring& tip) {
    const size_t length = std::min(tip.size(), std::size(record.szTip) - 1);
    tip.copy(record.szTip, length);
    record.szTip[length] = L'\0';
}

// The battery icon at the size the notification area shows, the small icon size of the
// system's DPI (the taskbar's); shared, as each icon is only ever loaded at that one size.
HICON LoadTrayIcon(int icon_id) {
    return LoadIconResource(icon_id, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
}

}  // namespace

TrayAddResult CLumoraDlg::AddTrayIcon(const std::wstring& tip, int icon_id) {
    trayIconData = NOTIFYICONDATAW{};
    trayIconData.cbSize = kTrayRecordSize;
    trayIconData.hWnd = hwnd();
    trayIconData.uID = 0;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = kTrayNotifyMessage;
    trayIconData.hIcon = LoadTrayIcon(icon_id);
    SetTip(trayIconData, tip);
    if (Shell_NotifyIconW(NIM_ADD, &trayIconData)) {
        return TrayAddResult::kAdded;
    }
    return GetLastError() == ERROR_TIMEOUT ? TrayAddResult::kTimedOut : TrayAddResult::kFailed;
}

void CLumoraDlg::ModifyTrayIcon(const std::wstring& tip, int icon_id) {
    if (trayIconData.cbSize == 0) {
        return;  // never added
    }
    if (HICON icon = LoadTrayIcon(icon_id)) {
        trayIconData.hIcon = icon;
    }
    SetTip(trayIconData, tip);
    Shell_NotifyIconW(NIM_MODIFY, &trayIconData);
}

void CLumoraDlg::RemoveTrayIcon() {
    if (trayIconData.cbSize != 0) {
        Shell_NotifyIconW(NIM_DELETE, &trayIconData);
    }
}

void CLumoraDlg::ShowTrayMenu(bool offer_restore, bool exit_enabled) {
    POINT cursor{};
    GetCursorPos(&cursor);
    HMENU menu = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_TRAY_MENU));
    if (menu == nullptr) {
        return;
    }
    if (HMENU popup = GetSubMenu(menu, 0)) {
        const std::wstring restore =
            LoadResourceString(offer_restore ? kTrayRestoreText : kTrayMinimizeText);
        ModifyMenuW(popup, ID_TRAY_RESTORE, MF_BYCOMMAND | MF_STRING, ID_TRAY_RESTORE,
                    restore.c_str());
        EnableMenuItem(popup, ID_TRAY_EXIT, MF_BYCOMMAND | (exit_enabled ? MF_ENABLED : MF_GRAYED));
        // Without the foreground the menu would not close when the user clicks elsewhere.
        SetForegroundWindow(hwnd());
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, hwnd(),
                       nullptr);
        PostMessageW(hwnd(), WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}

bool CLumoraDlg::IsShownNormally() {
    return IsWindowVisible(hwnd()) && !IsIconic(hwnd());
}

void CLumoraDlg::Minimise() {
    PostMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CLumoraDlg::Restore() {
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
}

void CLumoraDlg::EndApplication() {
    EndDialog(IDCANCEL);
}

void CLumoraDlg::OpenSettingsLater() {
    PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(ID_SYSTEM_SETTINGS, 0), 0);
}

void CLumoraDlg::RunAboutDialog() {
    CAboutDlg about(hwnd());
    about.DoModal();
}

bool CLumoraDlg::RunOptionDialog(OptionDialogModel& dialog) {
    COptionDlg options(hwnd(), dialog);
    return options.DoModal() == IDOK;
}

bool CLumoraDlg::OpenUrl(const std::wstring& address) {
    return ShellOpen(address);
}

void CLumoraDlg::SetAutostartShortcut(bool create) {
    win32::SetAutostartShortcut(create);
}

}  // namespace quirn::win32
