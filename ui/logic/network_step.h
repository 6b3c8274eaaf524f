// network_step.h: the network step of a worker run, the part that runs off the window's thread.
//
// It works only on what it is given (copies of the credentials, the library, the fetch lock),
// so it can outlive the window that started it.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "state/app_settings.h"
#include "ui/logic/poll_exchange.h"
#include "ui/logic/router_library.h"

namespace quirn {

// The texts a run sends, in UTF-8, taken from the settings as the run begins.
struct RunCredentials {
    std::string router_address;  // empty: the router's local host name
    std::string status_user;
    std::string status_password;
    std::string admin_password;  // decoded from its stored form
};

// `text` in UTF-8; none when it cannot be converted.
std::optional<std::string> Utf8(const std::wstring& text);

// The credentials of `settings`; none when a text cannot be converted to UTF-8, in which case
// the run fails locally rather than sending something other than what the user entered.
std::optional<RunCredentials> PrepareCredentials(const AppSettings& settings);

// What the network step gives back to the window's thread.
struct NetworkOutcome {
    int32_t result = lumora::kLocalFailure;  // RouterResult
    std::optional<DisplayStatus> status;     // a successful poll's status
};

// Status poll: under `statusLock` (so that status fetches never overlap), fetches page 0 with
// the status-page account; on success decodes the character references of the connection text
// and converts the record to wide text.
NetworkOutcome FetchStatus(RouterLibrary& library, std::mutex& statusLock,
                           const RunCredentials& credentials);

// Router command `command_index` with the administrator password.
NetworkOutcome RunCommand(RouterLibrary& library, const RunCredentials& credentials,
                          int command_index);

// The connection check through the router.
NetworkOutcome RunConnectionCheck(RouterLibrary& library);

// The switch command's index for the router's connection code: away from wireless LAN (1) to
// LTE/3G, otherwise to wireless LAN.
int SwitchCommandIndex(int32_t connection_code);

}  // namespace quirn
