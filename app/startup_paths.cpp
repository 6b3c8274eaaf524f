// startup_paths.cpp: string work on the executable's path for start-up.
#include "app/startup_paths.h"

namespace quirn {
namespace {

// The part after the last backslash; the whole text when there is none.
std::wstring FileNameOf(const std::wstring& path) {
    const auto slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring ExecutableBaseName(const std::wstring& module_path) {
    const std::wstring name = FileNameOf(module_path);
    const auto dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring DefaultProfileFileName(const std::wstring& module_path) {
    return ExecutableBaseName(module_path) + L".INI";
}

std::wstring ProfilePathBeside(const std::wstring& module_path, const std::wstring& bare_name) {
    const auto slash = module_path.rfind(L'\\');
    if (slash == std::wstring::npos) {
        return bare_name;
    }
    return module_path.substr(0, slash) + L"\\" + bare_name;
}

std::vector<std::wstring> VirtualisedProfileCopies(const std::wstring& local_app_data,
                                                   const std::wstring& bare_name) {
    const std::wstring program_folder = L"Vandrel\\Quirn Mobile Tool\\";
    return {
        local_app_data + L"\\VirtualStore\\Program Files (x86)\\" + program_folder + bare_name,
        local_app_data + L"\\VirtualStore\\Program Files\\" + program_folder + bare_name,
    };
}

}  // namespace quirn
