// startup_platform_win32.cpp: the Win32 calls behind start-up.
#include "platform/win32/app/startup_platform_win32.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shlobj.h>
// clang-format on

#include <cstdio>

#include "platform/win32/system/autostart_shortcut.h"
#include "platform/win32/framework/message_box.h"
#include "platform/win32/window/main_window_mark.h"

namespace quirn::win32 {

Win32StartupPlatform::Win32StartupPlatform(std::wstring command_line, Win32ProfileStore& profile,
                                           std::function<void()> run_main_dialog)
    : command_line_(std::move(command_line)),
      profile_(profile),
      run_main_dialog_(std::move(run_main_dialog)) {}

void Win32StartupPlatform::InitWindowControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
}

std::wstring Win32StartupPlatform::CommandLine() {
    return command_line_;
}

std::wstring Win32StartupPlatform::ModulePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameExW(GetCurrentProcess(), nullptr, path, MAX_PATH);
    return path;
}

InstanceMutex Win32StartupPlatform::CreateInstanceMutex(const std::wstring& name) {
    // The handle stays open on purpose: the name is held until the process ends.
    CreateMutexW(nullptr, TRUE, name.c_str());
    return GetLastError() == ERROR_ALREADY_EXISTS ? InstanceMutex::kAlreadyExists
                                                  : InstanceMutex::kCreated;
}

bool Win32StartupPlatform::ActivateWindow(const std::wstring& title) {
    // The window itself, not one of its message boxes: they carry the same title and may be
    // the only ones shown while the window is hidden in the notification area.
    HWND window = FindMainWindow(title);
    if (window == nullptr) {
        return false;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    // An open message box keeps the input; the window comes forward beneath it.
    SetForegroundWindow(GetLastActivePopup(window));
    return true;
}

bool Win32StartupPlatform::InitSockets() {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 0), &data) == 0;
}

void Win32StartupPlatform::ShowMessage(const std::wstring& text) {
    ShowMessageBox(nullptr, text, MB_OK | MB_ICONEXCLAMATION);
}

void Win32StartupPlatform::InstallProfilePath(const std::wstring& path) {
    profile_.InstallPath(path);
}

std::optional<std::wstring> Win32StartupPlatform::LocalAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, FALSE)) {
        return std::nullopt;
    }
    return std::wstring(folder);
}

void Win32StartupPlatform::RemoveFile(const std::wstring& path) {
    DeleteFileW(path.c_str());
}

void Win32StartupPlatform::SetAutostartShortcut(bool create) {
    win32::SetAutostartShortcut(create);
}

void Win32StartupPlatform::WaitForStandardInput() {
    (void)std::getchar();
}

void Win32StartupPlatform::RunMainDialog() {
    run_main_dialog_();
}

}  // namespace quirn::win32
