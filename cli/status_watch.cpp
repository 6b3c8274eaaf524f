// status_watch.cpp: the watch loop.
#include "cli/status_watch.h"

#include <algorithm>
#include <charconv>
#include <ctime>

#include "cli/standard_output.h"
#include "common/router_result.h"

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

}  // namespace

WatchPlan ReadWatchPlan(const Arguments& parsed,
                        std::optional<std::chrono::seconds> profile_interval) {
    WatchPlan plan;
    plan.format = ReadStatusFormat(parsed);
    // A profile may hold up to 49 days; a watch waits a day at the most, as --interval does.
    plan.interval = std::min(profile_interval.value_or(kDefaultWatchInterval),
                             kLongestWatchInterval);
    if (const std::string* interval = parsed.Value("--interval")) {
        plan.interval = std::chrono::seconds(WholeNumber(
            "--interval", *interval, 1, static_cast<int>(kLongestWatchInterval.count())));
    }
    if (const std::string* count = parsed.Value("--count")) {
        plan.count = WholeNumber("--count", *count, 1, 1'000'000'000);
    }
    plan.changes_only = parsed.Has("--changes");
    return plan;
}

int WatchStatus(const WatchPlan& plan, const WatchSeams& seams) {
    if (plan.format.kind == StatusFormat::Kind::kPrometheus) {
        UseBinaryStandardOutput();  // the format's lines end in "\n" alone, also on Windows
    }
    const bool stamped = plan.format.kind == StatusFormat::Kind::kText;
    std::optional<std::string> last_printed;
    int polls_left = plan.count;  // 0: no end
    // Start to start, as the window counts its cycle, so the polls keep their times.
    auto due = std::chrono::steady_clock::now();
    for (;;) {
        lumora::RouterStatus status = lumora::FreshRouterStatus();
        const int result = seams.poll(status);
        // What a poll shows is compared without its time, which always differs.
        std::string shown = FormatOutcome(result, status, plan.format, OutcomeLayout::kLine);
        if (!plan.changes_only || shown != last_printed) {
            if (!seams.write(stamped ? seams.time_stamp() + " " + shown : shown)) {
                return lumora::kLocalFailure;
            }
            last_printed = std::move(shown);
        }
        if (plan.count != 0 && --polls_left == 0) {
            return result;
        }
        due += plan.interval;
        // A poll that took longer than the interval is followed at once, and the times start
        // again from there.
        due = std::max(due, std::chrono::steady_clock::now());
        if (!seams.wait_until(due)) {
            return lumora::kLocalFailure;
        }
    }
}

std::string LocalTimeStamp() {
    const std::time_t now = std::time(nullptr);
    // std::localtime's shared result is safe here: quirnctl has one thread.
    const std::tm* local = std::localtime(&now);
    char text[32];
    return local == nullptr
               ? std::string("0000-00-00 00:00:00")
               : std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local));
}

}  // namespace quirnctl
