// watch_io_posix.cpp: stop signals that end the process, but not in the middle of a line, and a
// wait that sees a pipe's reader go.
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <initializer_list>
#include <thread>

#include "cli/watch_io.h"

namespace quirnctl {
namespace {

// Set while WriteWhole writes; a stop signal meanwhile is kept for when it is done.
volatile sig_atomic_t g_writing = 0;
volatile sig_atomic_t g_pending_stop = 0;

// The process ends by the signal itself, so that a calling shell or script sees it was
// interrupted (and reports 128 + the signal's number) and stops as well.
void EndBy(int signal_number) {
    signal(signal_number, SIG_DFL);
    raise(signal_number);
}

extern "C" void OnStopSignal(int signal_number) {
    if (g_writing == 0) {
        EndBy(signal_number);  // output is flushed after every line: nothing waits in a buffer
        return;
    }
    g_pending_stop = signal_number;
    alarm(1);  // a reader that stopped reading must not hold the stop up for long
}

// A write that has not finished a second after the stop: end anyway.
extern "C" void OnStopAlarm(int) {
    EndBy(g_pending_stop != 0 ? g_pending_stop : SIGTERM);
}

void Handle(int signal_number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a write blocked on a full pipe returns to let a stop through.
    action.sa_flags = 0;
    sigaction(signal_number, &action, nullptr);
}

}  // namespace

void EndProcessOnStopSignals() {
    Handle(SIGALRM, OnStopAlarm);
    for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction before {};
        sigaction(signal_number, nullptr, &before);
        if (before.sa_handler != SIG_IGN) {
            Handle(signal_number, OnStopSignal);
        }
    }
}

bool WriteWhole(std::string_view text) {
    if (std::fflush(stdout) != 0) {  // nothing the C library holds may come after this
        return false;
    }
    g_writing = 1;
    bool written = true;
    while (!text.empty()) {
        const ssize_t count = write(STDOUT_FILENO, text.data(), text.size());
        if (count > 0) {
            text.remove_prefix(static_cast<std::size_t>(count));
        } else if (count < 0 && errno == EINTR) {
            continue;  // a stop waits for the rest, at most until its alarm
        } else {
            written = false;
            break;
        }
    }
    g_writing = 0;
    if (g_pending_stop != 0) {
        EndBy(g_pending_stop);
    }
    return written;
}

bool WaitWhileOutputIsRead(std::chrono::steady_clock::time_point due) {
    using namespace std::chrono;
    for (;;) {
        const auto now = steady_clock::now();
        if (now >= due) {
            return true;
        }
        const auto left = duration_cast<milliseconds>(due - now) + milliseconds(1);
        // No events asked: poll still reports an error or hang-up of the output, which a pipe
        // whose reader closed it gives; a file or terminal just lets the time pass.
        pollfd output{STDOUT_FILENO, 0, 0};
        const int ready =
            poll(&output, 1, static_cast<int>(std::min<long long>(left.count(), INT_MAX)));
        if (ready < 0 && errno != EINTR) {
            std::this_thread::sleep_until(due);
            return true;
        }
        if (ready > 0) {
            if ((output.revents & POLLNVAL) != 0) {  // no standard output to watch
                std::this_thread::sleep_until(due);
                return true;
            }
            // As a write to that pipe would: SIGPIPE, or where it is ignored, an end of its own.
            raise(SIGPIPE);
            return false;
        }
    }
}

}  // namespace quirnctl
