// thread.h: starting a short-lived worker thread.
#pragma once

#include <functional>

namespace quirn::win32 {

// Starts `body` on a new thread (default stack size and priority, running at once) and returns
// without waiting; false when no thread could be started. Nothing joins the thread: `body` must
// only use what outlives it. An exception leaving `body` is reported and ends only that thread.
bool StartThread(std::function<void()> body);

}  // namespace quirn::win32
