// window_message_runner.h: the main window's BackgroundRunner: worker threads whose results are
// queued for the window and run on its thread by a posted message; a wait for a task keeps the
// window's messages flowing.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/logic/background_runner.h"

namespace quirn::win32 {

class WindowMessageRunner : public BackgroundRunner {
  public:
    // Posted to the window when a result is queued; its handler calls RunPending.
    static constexpr UINT kResultMessage = WM_APP + 0x101;

    WindowMessageRunner();
    ~WindowMessageRunner() override;
    WindowMessageRunner(const WindowMessageRunner&) = delete;
    WindowMessageRunner& operator=(const WindowMessageRunner&) = delete;

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
