// router_access.cpp: the router's address and administrator password from the options.
#include "cli/router_access.h"

#include "cli/password_file.h"
#include "cli/profile_option.h"

namespace quirnctl {

RouterAccess ReadRouterAccess(const Arguments& parsed, AdminPassword admin_password) {
    RouterAccess access;
    if (const std::string* profile = parsed.Value("--profile")) {
        const bool profile_password = admin_password == AdminPassword::kUsed &&
                                      parsed.Value("--password-file") == nullptr;
        ProfileAccess from_profile = ReadProfileOption(*profile, profile_password);
        access.router_host = std::move(from_profile.router_host);
        access.admin_password = std::move(from_profile.admin_password);
        access.poll_interval = from_profile.poll_interval;
    }
    if (const std::string* host = parsed.Value("--router")) {
        if (host->empty()) {
            throw UsageError("--router needs a host name or address");
        }
        access.router_host = *host;
    }
    if (const std::string* path = parsed.Value("--password-file")) {
        access.admin_password = ReadPasswordFile(*path);
    }
    return access;
}

}  // namespace quirnctl
