// router_commands.h: the operations that change something on the router (commands, the first
// administrator password) and the connection check through it.
//
// Each takes the busy counter around each of its exchanges, returns a RouterResult and logs its
// failures on the diagnostic stream. Texts are UTF-8. Run them on a worker thread: they block for
// up to the connect and socket time-outs.
#pragma once

#include "common/net/http_request.h"
#include "common/router_result.h"

namespace lumora {

// The built-in status-page account. Commands sent with this account always use this password.
inline constexpr char kStatusPageUser[] = "tarn-access";
inline constexpr char kStatusPagePassword[] = "tarn-access";

// Sends the prepared `request` to `host` (nullptr: the router's local host name) on a connection
// of its own and judges the reply by its status line alone: 200 kSuccess, 401 kAuthRefused,
// anything else kUnexpectedResponse. Kind 1 (standby) and 4 are not waited for: kSuccess once
// sent. A reply that never comes is kReceiveFailed, except for kind 0 (reboot), where a dropped
// connection is the router going down and counts as kSuccess. Caller holds the busy counter.
RouterResult sendCommand(const char* host, const char* request, int request_kind);

// Runs command `command_index` (CommandIndex) on the router's local host name. Logs in as
// "admin" with `admin_password` to get a fresh session token and posts the command with that
// account. When the router has no administrator page (log-in gives kUnexpectedResponse), posts
// with `status_user` and kStatusPagePassword instead, carrying the token of the last status page.
// Any other log-in failure is returned and nothing is posted.
RouterResult RunRouterCommand(const char* admin_password, const char* status_user,
                              int command_index);

// Fetches the router's top page without credentials to capture its session token; a refused
// page still counts as kSuccess (the token is what matters).
RouterResult FetchTokenPage(const char* host);

// Sets the router's first administrator password: captures a token from the top page, posts
// `new_password` and, when the router accepted it, checks that its status page now reads with
// the status-page account (`status_user`, `status_password`).
RouterResult SetAdminPassword(const char* status_password, const char* new_password,
                              const char* status_user);

// Whether the Internet is reachable through the router: kSuccess when the maker's web host
// answers a GET with status 200, kConnectFailed when it cannot be reached.
RouterResult CheckConnection();

}  // namespace lumora
