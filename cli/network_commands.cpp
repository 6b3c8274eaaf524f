// network_commands.cpp: the quirnctl commands that talk to the router: status, reboot, standby,
// switch, check and set-password.
//
// Each prints its outcome on standard output (a line, or the JSON object with --json; status
// also in the other --format forms) and
// returns the operation's RouterResult as the exit status. Passwords come only from a password
// file and are never printed.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/password_file.h"
#include "cli/router_access.h"
#include "cli/status_json.h"
#include "cli/status_report.h"
#include "cli/status_text.h"
#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/library.h"
#include "common/net/router_commands.h"
#include "common/router_status.h"
#include "common/page/status_page.h"

namespace quirnctl {
namespace {

// Prints the outcome of an operation that yields no status record.
int ReportOutcome(const char* operation, int result, bool json) {
    std::string out;
    if (json) {
        out = StatusJson(result, nullptr, lumora::HoldsSessionToken());
    } else {
        out = std::string(operation) + ": " + ResultText(result) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return result;
}

// Reads the status page once, as the window always has before a command, so that a fall-back to
// the status-page account carries a live session token; then runs the command whatever that
// read gave.
int RunRouterCommandLine(int command_index, const char* operation, const Arguments& parsed) {
    const RouterAccess access = ReadRouterAccess(parsed, AdminPassword::kUsed);
    lumora::RouterStatus before = lumora::FreshRouterStatus();
    lumora::GetRouterInfo(lumora::kStatusPage, access.HostOrNone(), lumora::kStatusPageUser,
                          lumora::kStatusPagePassword, before);
    const int result = lumora::RunRouterCommand(access.admin_password.c_str(),
                                                lumora::kStatusPageUser, command_index);
    return ReportOutcome(operation, result, parsed.Has("--json"));
}

void RequireNoPositional(const Arguments& parsed, const char* command) {
    if (!parsed.positional.empty()) {
        throw UsageError(std::string(command) + " takes no argument " + parsed.positional[0]);
    }
}

}  // namespace

int RunStatus(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("status", args);
    RequireNoPositional(parsed, "status");
    const StatusFormat format = ReadStatusFormat(parsed);  // a bad format sends nothing
    const RouterAccess access = ReadRouterAccess(parsed, AdminPassword::kUnused);
    lumora::RouterStatus status = lumora::FreshRouterStatus();
    const int result =
        lumora::GetRouterInfo(lumora::kStatusPage, access.HostOrNone(), lumora::kStatusPageUser,
                              lumora::kStatusPagePassword, status);
    return ReportStatus(result, status, format);
}

int RunReboot(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("reboot", args);
    RequireNoPositional(parsed, "reboot");
    return RunRouterCommandLine(lumora::kReboot, "reboot", parsed);
}

int RunStandby(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("standby", args);
    RequireNoPositional(parsed, "standby");
    return RunRouterCommandLine(lumora::kStandby, "standby", parsed);
}

int RunSwitch(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("switch", args);
    if (parsed.positional.size() != 1) {
        throw UsageError("switch needs one target: lte3g or wlan");
    }
    const std::string& target = parsed.positional[0];
    if (target == "lte3g") {
        return RunRouterCommandLine(lumora::kSwitchToLte3g, "switch lte3g", parsed);
    }
    if (target == "wlan") {
        return RunRouterCommandLine(lumora::kSwitchToWlan, "switch wlan", parsed);
    }
    throw UsageError("unknown switch target " + target + " (lte3g or wlan)");
}

int RunCheck(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("check", args);
    RequireNoPositional(parsed, "check");
    return ReportOutcome("check", lumora::CheckConnection(), parsed.Has("--json"));
}

int RunSetPassword(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("set-password", args);
    RequireNoPositional(parsed, "set-password");
    const std::string* path = parsed.Value("--password-file");
    if (path == nullptr) {  // the table requires it; checked again so no edit there can crash
        throw UsageError("set-password needs --password-file FILE");
    }
    const std::string password = ReadPasswordFile(*path);
    if (password.empty()) {
        throw UsageError("the password file " + *path + " holds no password");
    }
    const int result = lumora::SetAdminPassword(lumora::kStatusPagePassword, password.c_str(),
                                                lumora::kStatusPageUser);
    return ReportOutcome("set-password", result, parsed.Has("--json"));
}

}  // namespace quirnctl
