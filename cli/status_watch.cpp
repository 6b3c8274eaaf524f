// status_watch.cpp: the watch loop.
#include "cli/status_watch.h"

#include <cstdio>
#include <ctime>

#include "cli/standard_output.h"
#include "cli/stop_signals.h"
#include "common/router_result.h"

namespace quirnctl {
namespace {

// Writes `text` whole and at once (a stop signal waits for it); false when it cannot be written.
bool WriteWhole(const std::string& text) {
    StopSignalsHeld held;
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace

int WatchStatus(const WatchPlan& plan, const WatchSeams& seams) {
    if (plan.format.kind == StatusFormat::Kind::kPrometheus) {
        UseBinaryStandardOutput();  // the format's lines end in "\n" alone, also on Windows
    }
    const bool stamped = plan.format.kind == StatusFormat::Kind::kText;
    std::string last_printed;
    bool printed_any = false;
    int result = lumora::kSuccess;
    auto due = std::chrono::steady_clock::now();
    for (int polls = 0; plan.count == 0 || polls < plan.count; ++polls) {
        if (polls > 0) {
            seams.wait_until(due);
        }
        // Start to start, as the window counts its cycle: a slow poll shortens the wait.
        due = std::chrono::steady_clock::now() + plan.interval;
        lumora::RouterStatus status = lumora::FreshRouterStatus();
        result = seams.poll(status);
        // What a poll shows is compared without its time, which always differs.
        std::string shown = FormatOutcome(result, status, plan.format, OutcomeLayout::kLine);
        if (plan.changes_only && printed_any && shown == last_printed) {
            continue;
        }
        if (!WriteWhole(stamped ? seams.time_stamp() + " " + shown : shown)) {
            return lumora::kLocalFailure;
        }
        last_printed = std::move(shown);
        printed_any = true;
    }
    return result;
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
