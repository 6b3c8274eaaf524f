// window_workers.h: worker threads for the main window. Each run's result is queued for the
// window and a posted message has the window's thread run it; a wait for a task keeps the
// window's messages flowing.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/logic/worker_starter.h"

namespace quirn::win32 {

class WindowWorkers : public WorkerStarter {
  public:
    // Posted to the window when a result is queued; its handler calls RunPending.
    static constexpr UINT kResultMessage = WM_APP + 0x101;

    WindowWorkers();
    ~WindowWorkers() override;
    WindowWorkers(const WindowWorkers&) = delete;
    WindowWorkers& operator=(const WindowWorkers&) = delete;

    // Results go to `window` from now on. Window's thread.
    void Attach(HWND window);
    // The window is going: queued results are destroyed unrun, and so is every later one.
    void Detach();
    // Runs the queued results in the order they arrived. Window's thread.
    void RunPending();

    bool Start(std::function<WindowTask()> work) override;
    int RunAndWait(std::function<int()> task) override;

  private:
    struct Mailbox;
    // Shared with every running worker, which may outlive the window and this object.
    std::shared_ptr<Mailbox> mailbox_;
};

}  // namespace quirn::win32
