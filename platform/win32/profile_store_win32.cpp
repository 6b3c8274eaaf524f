// profile_store_win32.cpp: the profile store over GetPrivateProfileStringW and
// WritePrivateProfileStringW.
#include "platform/win32/profile_store_win32.h"

#include <windows.h>

#include <vector>

namespace quirn {
namespace {
constexpr size_t kLargestValue = 65536;
}  // namespace

std::wstring Win32ProfileStore::Read(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& default_value) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD copied = GetPrivateProfileStringW(
            section.c_str(), key.c_str(), default_value.c_str(), buffer.data(),
            static_cast<DWORD>(buffer.size()), path_.c_str());
        // A value that filled the buffer may have been cut: try again with room to spare, up to
        // the size a profile line can have at all.
        if (copied + 1 < buffer.size() || buffer.size() >= kLargestValue) {
            return std::wstring(buffer.data(), copied);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool Win32ProfileStore::Write(const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) !=
           FALSE;
}

}  // namespace quirn
