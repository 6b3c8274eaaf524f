// application.h: the Windows program's application object: runs start-up and the main dialog,
// after which the process ends.
#pragma once

#include <string>

#include "platform/win32/profile_store_win32.h"

namespace quirn::win32 {

class CLumoraApp {
  public:
    // `command_line` holds the arguments without the program name.
    explicit CLumoraApp(std::wstring command_line);
    virtual ~CLumoraApp();
    CLumoraApp(const CLumoraApp&) = delete;
    CLumoraApp& operator=(const CLumoraApp&) = delete;

    // Start-up: common controls, command line, single instance, sockets, the profile path, then
    // "/cleanup" or the main dialog run modally. Returns false on every path: there is no message
    // loop of the application's own, and the process exits afterwards.
    bool InitInstance();

    // The settings' profile, at the path start-up installs beside the executable.
    Win32ProfileStore& profile() { return profile_; }

  private:
    std::wstring command_line_;
    Win32ProfileStore profile_;
};

}  // namespace quirn::win32
