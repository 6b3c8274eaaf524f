// stop_signals.h: how a command that runs until stopped (watch) ends on Ctrl-C or SIGTERM.
#pragma once

namespace quirnctl {

inline constexpr int kExitInterrupted = 130;  // 128 + SIGINT, as shells report it
inline constexpr int kExitTerminated = 143;   // 128 + SIGTERM

// From now on Ctrl-C (SIGINT; on Windows also Ctrl-Break) ends the process at once with
// kExitInterrupted, and SIGTERM (on Windows the console closing, log-off or shut-down) with
// kExitTerminated, also in the middle of a poll that would otherwise wait for its time-out.
// Nothing is left to undo: every line is written whole (see StopSignalsHeld) and the router
// sees a closed connection. Implemented under platform/.
void EndProcessOnStopSignals();

// While one exists, a stop signal waits until it is gone, so that a line is written whole.
class StopSignalsHeld {
  public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;
};

}  // namespace quirnctl
