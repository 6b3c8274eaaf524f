// stop_signals.h: how a command that runs until stopped (watch) ends on Ctrl-C or SIGTERM.
#pragma once

namespace quirnctl {

inline constexpr int kExitInterrupted = 130;  // 128 + SIGINT, as shells report it
inline constexpr int kExitTerminated = 143;   // 128 + SIGTERM

// From now on Ctrl-C (SIGINT; on Windows also Ctrl-Break) and SIGTERM (on Windows the console
// closing, log-off or shut-down) end the process at once, also in the middle of a poll that
// would otherwise wait for its time-out. On POSIX the process ends by the signal, which a shell
// reports as kExitInterrupted or kExitTerminated; on Windows it exits with those values.
// Nothing is left to undo: every line is written whole (see StopSignalsHeld) and the router
// sees a closed connection. A signal the starting process ignores stays ignored (a background
// job's Ctrl-C). Implemented under platform/.
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
