// status_watch.h: `watch`, the status polled again and again, one outcome a line.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "cli/status_report.h"
#include "common/router_status.h"

namespace quirnctl {

// The window's polling interval when its profile sets none.
inline constexpr std::chrono::seconds kDefaultWatchInterval{20};
// The longest --interval: a day; a longer one is more likely a mistake than a wish.
inline constexpr std::chrono::seconds kLongestWatchInterval{86400};

struct WatchPlan {
    std::chrono::seconds interval = kDefaultWatchInterval;  // from one poll's start to the next
    int count = 0;              // polls before the watch ends; 0: until it is stopped
    bool changes_only = false;  // print a poll only when its output differs from the last
    StatusFormat format;
};

// What the watch needs from outside, so a test can run it without waiting.
struct WatchSeams {
    // One status poll: fills the record and returns the RouterResult.
    std::function<int(lumora::RouterStatus& status)> poll;
    // Returns at the given time, when the next poll is due; false, earlier, when nobody reads
    // the output any more.
    std::function<bool(std::chrono::steady_clock::time_point due)> wait_until;
    // Writes an outcome whole; false when it cannot be written.
    std::function<bool(std::string_view text)> write;
    // The local time that starts a text line, e.g. "2026-12-11 15:20:01".
    std::function<std::string()> time_stamp;
};

// The plan that watch's options ask for (ReadStatusFormat for the format): --interval, else the
// profile's interval, else kDefaultWatchInterval. Throws UsageError for a bad number.
WatchPlan ReadWatchPlan(const Arguments& parsed,
                        std::optional<std::chrono::seconds> profile_interval);

// Polls as `plan` says and writes each outcome (the text format starts its line with the
// time). Returns the last poll's result once `count` polls are done, or kLocalFailure when the
// output can no longer be written or nobody reads it.
int WatchStatus(const WatchPlan& plan, const WatchSeams& seams);

// The local time as "YYYY-MM-DD HH:MM:SS".
std::string LocalTimeStamp();

}  // namespace quirnctl
