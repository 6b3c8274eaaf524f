// autostart_name.cpp: deriving the autostart shortcut's name from the executable's path.
#include "app/autostart_name.h"

namespace quirn {

std::wstring ShortcutFileName(const std::wstring& module_path) {
    const auto slash = module_path.rfind(L'\\');
    // The name is appended to the folder directly, so it must carry its own separator.
    std::wstring name =
        slash == std::wstring::npos ? L"\\" + module_path : module_path.substr(slash);
    const auto exe = name.rfind(L".exe");
    if (exe == std::wstring::npos) {
        return name + L".lnk";
    }
    return name.replace(exe, 4, L".lnk");
}

std::wstring ShortcutPath(const std::wstring& startup_folder, const std::wstring& module_path) {
    return startup_folder + ShortcutFileName(module_path);
}

}  // namespace quirn
