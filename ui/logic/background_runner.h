// background_runner.h: how the window's logic gets work done off the window's thread.
//
// The Windows program starts a short-lived thread per run and hands the result back to the
// window's thread as a window message; tests run the work inline, or on real threads with a
// queue that the test drains as its "window thread".
#pragma once

#include <functional>

namespace quirn {

// What a worker gives back: run on the window's thread.
using WindowTask = std::function<void()>;

class BackgroundRunner {
  public:
    virtual ~BackgroundRunner() = default;

    // Runs `work` on a new thread and then runs the WindowTask it returns on the window's
    // thread; returns at once, without waiting. False when no thread could be started (nothing
    // ran then). `work` must use only what it holds itself, as it may outlive the window; once
    // the window is gone, the returned task is destroyed without being run. Window's thread.
    virtual bool Start(std::function<WindowTask()> work) = 0;

    // Runs `task` on a new thread and returns its result when it has finished, keeping the
    // window's messages flowing meanwhile (timers and finished runs are handled during the
    // wait). Runs `task` right here when no thread could be started. Window's thread.
    virtual int RunAndWait(std::function<int()> task) = 0;
};

}  // namespace quirn
