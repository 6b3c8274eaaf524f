// profile_store_win32.h: the profile kept through the Windows profile API, in the file whose
// full path start-up installs beside the executable.
#pragma once

#include <string>

#include "state/profile_store.h"

namespace quirn {

class Win32ProfileStore : public ProfileStore {
  public:
    // Every later read and write goes to `path` (a full path; a bare name would land in the
    // Windows folder).
    void InstallPath(std::wstring path) { path_ = std::move(path); }
    const std::wstring& path() const { return path_; }
    std::wstring Location() const override { return path_; }

    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& default_value) override;
    bool Write(const std::wstring& section, const std::wstring& key,
               const std::wstring& value) override;

  private:
    std::wstring path_;
};

}  // namespace quirn
