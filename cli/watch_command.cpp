// watch_command.cpp: `quirnctl watch`, the status polled until the count is reached or the user
// stops it.
#include <charconv>
#include <string>
#include <thread>

#include "cli/command.h"
#include "cli/router_access.h"
#include "cli/status_report.h"
#include "cli/status_watch.h"
#include "cli/stop_signals.h"
#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/net/router_commands.h"

namespace quirnctl {
namespace {

// The value of a whole-number option between `low` and `high`; throws UsageError otherwise.
int WholeNumber(const std::string& option, const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        throw UsageError(option + " needs a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    }
    return value;
}

// A day: longer intervals are more likely a mistake than a wish.
constexpr int kLongestIntervalSeconds = 86400;

WatchPlan ReadWatchPlan(const Arguments& parsed, const RouterAccess& access) {
    WatchPlan plan;
    plan.format = ReadStatusFormat(parsed);
    plan.interval = access.poll_interval.value_or(kDefaultWatchInterval);
    if (const std::string* interval = parsed.Value("--interval")) {
        plan.interval = std::chrono::seconds(
            WholeNumber("--interval", *interval, 1, kLongestIntervalSeconds));
    }
    if (const std::string* count = parsed.Value("--count")) {
        plan.count = WholeNumber("--count", *count, 1, 1'000'000'000);
    }
    plan.changes_only = parsed.Has("--changes");
    return plan;
}

}  // namespace

int RunWatch(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("watch", args);
    if (!parsed.positional.empty()) {
        throw UsageError("watch takes no argument " + parsed.positional[0]);
    }
    const RouterAccess access = ReadRouterAccess(parsed);
    const WatchPlan plan = ReadWatchPlan(parsed, access);  // every mistake shows before a poll

    EndProcessOnStopSignals();
    WatchSeams seams;
    seams.poll = [&access](lumora::RouterStatus& status) {
        return lumora::GetRouterInfo(lumora::kStatusPage, access.HostOrNone(),
                                     lumora::kStatusPageUser, lumora::kStatusPagePassword, status);
    };
    seams.wait_until = [](std::chrono::steady_clock::time_point due) {
        std::this_thread::sleep_until(due);
    };
    seams.time_stamp = LocalTimeStamp;
    return WatchStatus(plan, seams);
}

}  // namespace quirnctl
