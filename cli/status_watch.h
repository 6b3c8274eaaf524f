// status_watch.h: `watch`, the status polled again and again, one outcome a line.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "cli/status_report.h"
#include "common/router_status.h"

namespace quirnctl {

// The window's polling interval when its profile sets none.
inline constexpr std::chrono::seconds kDefaultWatchInterval{20};

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
    // Returns at the given time, when the next poll is due.
    std::function<void(std::chrono::steady_clock::time_point due)> wait_until;
    // The local time that starts a text line, e.g. "2026-12-11 15:20:01".
    std::function<std::string()> time_stamp;
};

// Polls as `plan` says and prints each outcome on standard output (the text format starts its
// line with the time). Returns the last poll's result once `count` polls are done, or
// kLocalFailure when standard output can no longer be written.
int WatchStatus(const WatchPlan& plan, const WatchSeams& seams);

// The local time as "YYYY-MM-DD HH:MM:SS".
std::string LocalTimeStamp();

}  // namespace quirnctl
