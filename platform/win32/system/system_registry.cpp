// system_registry.cpp: version and registry reads, and the shell's "open".
#include "platform/win32/system/system_registry.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <vector>

namespace quirn::win32 {
namespace {

// The buffer a registry text is read into.
constexpr DWORD kTextBufferBytes = 2048;

}  // namespace

int SystemRegistry::WindowsMajorVersion() {
    // GetVersionEx reports the version an executable is manifested for, not the running one;
    // the system's own version call does not.
    using GetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        const auto get_version = reinterpret_cast<GetVersionCall>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (get_version != nullptr && get_version(&version) == 0) {
            return static_cast<int>(version.dwMajorVersion);
        }
    }
    // Every system this program runs on has that call; a later one is the safe guess.
    return 6;
}

std::optional<std::wstring> SystemRegistry::ReadText(RegistryRoot root, const std::wstring& path,
                                                     const std::wstring& name) {
    HKEY key = nullptr;
    const HKEY base = root == RegistryRoot::kClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
    if (RegOpenKeyExW(base, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // Room for a terminator the stored value may lack.
    std::vector<wchar_t> buffer(kTextBufferBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD type = 0;
    DWORD bytes = kTextBufferBytes;
    const LONG read = RegQueryValueExW(key, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    buffer[bytes / sizeof(wchar_t)] = L'\0';
    return std::wstring(buffer.data());
}

bool ShellOpen(const std::wstring& address) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) >= 32;
}

}  // namespace quirn::win32
