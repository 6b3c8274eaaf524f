// startup_paths.h: the names and paths that start-up derives from the executable's path.
//
// Paths are Windows paths with backslash separators, as the module path arrives.
#pragma once

#include <string>
#include <vector>

namespace quirn {

// The executable's file name without directory and extension ("C:\x\QuirnMobileTool.exe" gives
// "QuirnMobileTool"); this names the single-instance mutex.
std::wstring ExecutableBaseName(const std::wstring& module_path);

// The bare profile file name: the base name followed by ".INI".
std::wstring DefaultProfileFileName(const std::wstring& module_path);

// The profile's full path: the executable's directory, a backslash and `bare_name`. A module
// path without a directory gives `bare_name` alone rather than a path at the drive's root.
std::wstring ProfilePathBeside(const std::wstring& module_path, const std::wstring& bare_name);

// The per-user copies of the profile that file virtualisation keeps when the program writes
// into its protected program folder: first the 32-bit program folder's copy, then the 64-bit
// one. "/cleanup" deletes them after the profile beside the executable.
std::vector<std::wstring> VirtualisedProfileCopies(const std::wstring& local_app_data,
                                                   const std::wstring& bare_name);

}  // namespace quirn
