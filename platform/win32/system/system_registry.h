// system_registry.h: the Windows version and registry texts the firmware page's address
// depends on, read from the running system.
#pragma once

#include "ui/logic/registry_reader.h"

namespace quirn::win32 {

class SystemRegistry : public RegistryReader {
  public:
    int WindowsMajorVersion() override;
    std::optional<std::wstring> ReadText(RegistryRoot root, const std::wstring& path,
                                         const std::wstring& name) override;
};

// Opens `address` with the shell's "open" verb, shown normally and without an owner window;
// true when the shell accepted it.
bool ShellOpen(const std::wstring& address);

}  // namespace quirn::win32
