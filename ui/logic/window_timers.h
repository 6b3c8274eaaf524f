// window_timers.h: the main window's timers, their periods, and the waits they measure.
#pragma once

#include <cstdint>

namespace quirn {

// The dialog's timers and their periods.
enum TimerId : int {
    kPollTimerId = 0,    // polls, command time-outs, the end after standby, the notice
    kRetryTimerId = 1,   // re-issues commands after a password prompt
    kLayoutTimerId = 2,  // repeats the layout until the window has a size
};
inline constexpr unsigned kPollTimerMs = 1000;
inline constexpr unsigned kRetryTimerMs = 100;
inline constexpr unsigned kLayoutTimerMs = 10;

// A reboot's in-progress state ends this long after it started.
inline constexpr int64_t kRebootWaitSeconds = 60;
// Polls that have failed for longer than this make the shown status stale.
inline constexpr int64_t kStaleAfterSeconds = 300;

}  // namespace quirn
