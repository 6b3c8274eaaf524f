// stop_signals_posix.cpp: SIGINT and SIGTERM end the process, but wait while a line is written.
#include <signal.h>

#include <initializer_list>

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
    // Standard output is flushed after every line, so nothing waits in a buffer. The process
    // ends by the signal itself, so that a calling shell or script sees it was interrupted
    // (and reports 128 + the signal's number) and stops as well.
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

}  // namespace

void EndProcessOnStopSignals() {
    struct sigaction action {};
    action.sa_handler = EndOnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal_number : {SIGINT, SIGTERM}) {
        // A signal the caller ignores stays ignored: a shell starts background jobs with Ctrl-C
        // ignored so that the terminal's Ctrl-C leaves them running.
        struct sigaction before {};
        sigaction(signal_number, nullptr, &before);
        if (before.sa_handler != SIG_IGN) {
            sigaction(signal_number, &action, nullptr);
        }
    }
}

StopSignalsHeld::StopSignalsHeld() {
    const sigset_t stop = StopSignalSet();
    sigprocmask(SIG_BLOCK, &stop, &g_mask_before_hold);
}

StopSignalsHeld::~StopSignalsHeld() {
    sigprocmask(SIG_SETMASK, &g_mask_before_hold, nullptr);  // a waiting signal strikes now
}

}  // namespace quirnctl
