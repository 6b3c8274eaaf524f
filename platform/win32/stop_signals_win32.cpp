// stop_signals_win32.cpp: the console's Ctrl-C, Ctrl-Break, close, log-off and shut-down end
// the process; they wait while a line is written.
#include <windows.h>

#include "cli/stop_signals.h"

namespace quirnctl {
namespace {

// Held while a line is written. The console's handler runs on a thread of its own, so it
// takes this before ending the process. Made on first use and never deleted: the process may
// end holding it.
CRITICAL_SECTION& Writing() {
    struct Lock {
        CRITICAL_SECTION section;
        Lock() { InitializeCriticalSection(&section); }
    };
    static Lock* lock = new Lock;
    return lock->section;
}

BOOL WINAPI EndOnConsoleEvent(DWORD event) {
    EnterCriticalSection(&Writing());
    const bool interrupted = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    ExitProcess(interrupted ? kExitInterrupted : kExitTerminated);
}

}  // namespace

void EndProcessOnStopSignals() {
    Writing();  // made before a handler can need it
    SetConsoleCtrlHandler(EndOnConsoleEvent, TRUE);
}

StopSignalsHeld::StopSignalsHeld() {
    EnterCriticalSection(&Writing());
}

StopSignalsHeld::~StopSignalsHeld() {
    LeaveCriticalSection(&Writing());
}

}  // namespace quirnctl
