// autostart_shortcut.cpp: the autostart shortcut through the shell-link COM objects.
#include "platform/win32/system/autostart_shortcut.h"

// clang-format off
#include <windows.h>
#include <objidl.h>
#include <ole2.h>
#include <psapi.h>
#include <shlobj.h>
#include <shobjidl.h>
// clang-format on

#include <string>

#include "app/autostart_name.h"

namespace quirn::win32 {
namespace {

void CreateShortcut(const std::wstring& target, const std::wstring& shortcut) {
    // S_FALSE means OLE was already up on this thread: then nothing is made and nothing undone.
    if (OleInitialize(nullptr) != S_OK) {
        return;
    }
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            link->SetPath(target.c_str());
            link->SetShowCmd(SW_SHOWNORMAL);
            file->Save(shortcut.c_str(), TRUE);
            file->Release();
        }
        link->Release();
    }
    OleUninitialize();
}

void RemoveShortcut(const std::wstring& shortcut) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(shortcut.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    DeleteFileW(shortcut.c_str());
    FindClose(search);
}

}  // namespace

void SetAutostartShortcut(bool create) {
    wchar_t module_path[MAX_PATH] = {};
    GetModuleFileNameExW(GetCurrentProcess(), nullptr, module_path, MAX_PATH);
    wchar_t startup_folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, startup_folder, CSIDL_STARTUP, FALSE)) {
        return;
    }
    const std::wstring shortcut = ShortcutPath(startup_folder, module_path);
    if (create) {
        CreateShortcut(module_path, shortcut);
    } else {
        RemoveShortcut(shortcut);
    }
}

}  // namespace quirn::win32
