// stop_signals_posix.cpp: SIGINT and SIGTERM end the process; blocked while a line is written.
#include <signal.h>
#include <unistd.h>

#include "cli/stop_signals.h"

namespace quirnctl {
namespace {

// The signal mask before the first StopSignalsHeld; quirnctl holds one at a time.
sigset_t g_mask_before_hold;

sigset_t StopSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

extern "C" void EndOnStopSignal(int signal_number) {
    // Standard output is flushed after every line, so nothing waits in a buffer: _exit, the
    // one way out that is safe inside a handler, loses nothing.
    _exit(signal_number == SIGINT ? kExitInterrupted : kExitTerminated);
}

}  // namespace

void EndProcessOnStopSignals() {
    struct sigaction action {};
    action.sa_handler = EndOnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

StopSignalsHeld::StopSignalsHeld() {
    const sigset_t stop = StopSignalSet();
    sigprocmask(SIG_BLOCK, &stop, &g_mask_before_hold);
}

StopSignalsHeld::~StopSignalsHeld() {
    sigprocmask(SIG_SETMASK, &g_mask_before_hold, nullptr);  // a waiting signal strikes now
}

}  // namespace quirnctl
