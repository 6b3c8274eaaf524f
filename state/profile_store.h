// profile_store.h: where the settings live between runs, as sections of keys with text values.
//
// Implementations: the Windows profile API on the installed profile path
// (profile_store_win32.cpp) and a portable INI file with the same behaviour (ini_profile_store.h).
// Section and key names compare without regard to case.
#pragma once

#include <string>

namespace quirn {

class ProfileStore {
  public:
    virtual ~ProfileStore() = default;

    // The value of `key` in `section`. A missing file, section or key gives `default_value`; a
    // key present with an empty value gives an empty text.
    virtual std::wstring Read(const std::wstring& section, const std::wstring& key,
                              const std::wstring& default_value) = 0;

    // Sets `key` in `section` to `value`, creating either as needed and keeping every other
    // section and key, in their order. An empty value is written as an empty value; the key
    // stays. Returns false when the value could not be stored; nothing is half written then.
    virtual bool Write(const std::wstring& section, const std::wstring& key,
                       const std::wstring& value) = 0;

    // Where the profile lives, as a user would look for it (a file's full path).
    virtual std::wstring Location() const = 0;
};

}  // namespace quirn
