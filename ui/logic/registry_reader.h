// registry_reader.h: the few system facts the firmware page's address depends on: the Windows
// version and registry texts that name the default web browser.
#pragma once

#include <optional>
#include <string>

namespace quirn {

enum class RegistryRoot { kClassesRoot, kCurrentUser };

class RegistryReader {
  public:
    virtual ~RegistryReader() = default;

    // The major version of Windows (5 for XP, 6 and up for later systems).
    virtual int WindowsMajorVersion() = 0;

    // The text of value `name` (empty: the key's default value) of key `path` under `root`,
    // opened for reading and read into a buffer of 2048 bytes. None when the key cannot be
    // opened or the value not read. Any thread.
    virtual std::optional<std::wstring> ReadText(RegistryRoot root, const std::wstring& path,
                                                 const std::wstring& name) = 0;
};

}  // namespace quirn
