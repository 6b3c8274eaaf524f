// router_library.h: the router-communication library as the window's logic uses it, behind an
// interface so that tests can play the router.
#pragma once

#include <memory>

#include "common/router_result.h"
#include "common/router_status.h"

namespace quirn {

// Texts are UTF-8. Every operation blocks for up to the library's time-outs, so the logic calls
// them only on worker threads; implementations must allow calls from several threads at once
// (the library serialises its exchanges itself).
class RouterLibrary {
  public:
    virtual ~RouterLibrary() = default;

    // One status fetch of page `page_index` from `host` (null: the router's local host name).
    // On kSuccess `output` holds the record.
    virtual lumora::RouterResult GetRouterInfo(int page_index, const char* host, const char* user,
                                               const char* password,
                                               lumora::RouterStatus& output) = 0;
    // Runs command `command_index` (0 reboot, 1 standby, 2 and 3 switch of the preferred
    // connection) with the administrator password.
    virtual lumora::RouterResult RunRouterCommand(const char* admin_password,
                                                  const char* status_user, int command_index) = 0;
    // Sets the router's first administrator password.
    virtual lumora::RouterResult SetAdminPassword(const char* status_password,
                                                  const char* new_password,
                                                  const char* status_user) = 0;
    // Whether the Internet is reachable through the router.
    virtual lumora::RouterResult CheckConnection() = 0;
};

// The library of common/ itself.
std::shared_ptr<RouterLibrary> MakeLumoraRouterLibrary();

}  // namespace quirn
