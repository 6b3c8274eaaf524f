// watch_io_win32.cpp: the console's Ctrl-C, Ctrl-Break, close, log-off and shut-down end the
// process, but not in the middle of a line.
#include <windows.h>

#include <cstdio>
#include <thread>

#include "cli/watch_io.h"

namespace quirnctl {
namespace {

// Held while a line is written. The console's handler runs on a thread of its own and takes it
// before ending the process. Made on first use and never deleted: the process may end holding it.
CRITICAL_SECTION& Writing() {
    struct Lock {
        CRITICAL_SECTION section;
        Lock() { InitializeCriticalSection(&section); }
    };
    static Lock* lock = new Lock;
    return lock->section;
}

BOOL WINAPI EndOnConsoleEvent(DWORD event) {
    // A line being written gets a second to finish; a reader that stopped reading must not hold
    // the stop up for longer.
    for (int waited_ms = 0; waited_ms < 1000 && !TryEnterCriticalSection(&Writing());
         waited_ms += 10) {
        Sleep(10);
    }
    const bool interrupted = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    // Not ExitProcess: the main thread may be stopped inside a lock of the C library or of
    // Winsock, which the process's clean-up would then wait for. Every line is flushed already
    // and the system closes the sockets.
    TerminateProcess(GetCurrentProcess(), interrupted ? 130 : 143);
    return TRUE;
}

}  // namespace

void EndProcessOnStopSignals() {
    Writing();  // made before a handler can need it
    SetConsoleCtrlHandler(EndOnConsoleEvent, TRUE);
}

bool WriteWhole(std::string_view text) {
    EnterCriticalSection(&Writing());
    std::fwrite(text.data(), 1, text.size(), stdout);
    const bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    LeaveCriticalSection(&Writing());
    return written;
}

bool WaitWhileOutputIsRead(std::chrono::steady_clock::time_point due) {
    std::this_thread::sleep_until(due);
    return true;
}

}  // namespace quirnctl
