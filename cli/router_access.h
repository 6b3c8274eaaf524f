// router_access.h: how a quirnctl command reaches the router, from --profile, --router and
// --password-file.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "cli/command.h"

namespace quirnctl {

struct RouterAccess {
    std::optional<std::string> router_host;  // none: the router's local host name
    std::string admin_password;              // empty when none was given
    // The window's polling interval from the profile; none without --profile.
    std::optional<std::chrono::seconds> poll_interval;

    // The host to hand the library: nullptr for the router's local host name.
    const char* HostOrNone() const { return router_host ? router_host->c_str() : nullptr; }
};

// Whether the command logs in as the administrator.
enum class AdminPassword { kUsed, kUnused };

// The profile gives the window's settings; --router and --password-file override them. Throws
// UsageError for an empty --router, an unreadable profile or password file, or a stored password
// that cannot be decoded when the command uses it and no --password-file replaces it.
RouterAccess ReadRouterAccess(const Arguments& parsed, AdminPassword admin_password);

}  // namespace quirnctl
