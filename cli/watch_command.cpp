// watch_command.cpp: `quirnctl watch`, the status polled until the count is reached or the user
// stops it.
#include <string>

#include "cli/command.h"
#include "cli/router_access.h"
#include "cli/status_report.h"
#include "cli/status_watch.h"
#include "cli/watch_io.h"
#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/net/router_commands.h"

namespace quirnctl {

int RunWatch(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("watch", args);
    if (!parsed.positional.empty()) {
        throw UsageError("watch takes no argument " + parsed.positional[0]);
    }
    const RouterAccess access = ReadRouterAccess(parsed, AdminPassword::kUnused);
    // Every mistake shows before the first poll.
    const WatchPlan plan = ReadWatchPlan(parsed, access.poll_interval);

    EndProcessOnStopSignals();
    WatchSeams seams;
    seams.poll = [&access](lumora::RouterStatus& status) {
        return lumora::GetRouterInfo(lumora::kStatusPage, access.HostOrNone(),
                                     lumora::kStatusPageUser, lumora::kStatusPagePassword, status);
    };
    seams.wait_until = WaitWhileOutputIsRead;
    seams.write = WriteWhole;
    seams.time_stamp = LocalTimeStamp;
    return WatchStatus(plan, seams);
}

}  // namespace quirnctl
