// autostart_name.h: the file name of the autostart shortcut in the user's Startup folder.
#pragma once

#include <string>

namespace quirn {

// The executable's file name with a leading backslash and its last ".exe" (exact case) replaced
// by ".lnk" ("C:\x\QuirnMobileTool.exe" gives "\QuirnMobileTool.lnk"). A name without ".exe"
// gets ".lnk" appended, so the shell still sees a shortcut.
std::wstring ShortcutFileName(const std::wstring& module_path);

// The Startup folder followed directly by the shortcut file name.
std::wstring ShortcutPath(const std::wstring& startup_folder, const std::wstring& module_path);

}  // namespace quirn
