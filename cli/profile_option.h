// profile_option.h: --profile FILE, the router address and administrator password taken from a
// profile file that the Windows program wrote, so a script uses the same settings as the window.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace quirnctl {

struct ProfileAccess {
    // connect_domain in UTF-8; none when the profile leaves it empty, which means the router's
    // local host name (a profile without the key names that host explicitly).
    std::optional<std::string> router_host;
    // connect_rt_pw decoded from its stored form, in UTF-8; empty when none is stored.
    std::string admin_password;
    // reload_cycle in whole seconds, as the window's one-second timer compares them
    // (milliseconds / 1000, rounded down); at least 1, as below a second the window polls on
    // every tick.
    std::chrono::seconds poll_interval{20};
};

// Reads the profile at `path` as the window does. Throws UsageError when the file cannot be read
// or, with `with_admin_password`, its stored password cannot be decoded; the message names the
// file, never the password. Without it the password is not decoded and stays empty, so that a
// command that never logs in (status, watch) is not stopped by a password it does not use.
ProfileAccess ReadProfileOption(const std::string& path, bool with_admin_password = true);

}  // namespace quirnctl
