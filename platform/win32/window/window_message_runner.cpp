// window_message_runner.cpp: the result queue between worker threads and the window, and the
// wait that pumps the window's messages.
#include "platform/win32/window/window_message_runner.h"

#include <deque>
#include <mutex>
#include <utility>

#include "platform/win32/framework/thread.h"

namespace quirn::win32 {

struct WindowMessageRunner::Mailbox {
    std::mutex lock;
    HWND window = nullptr;  // null: no window to run results on
    std::deque<WindowTask> results;

    void Deliver(WindowTask result) {
        std::unique_lock guard(lock);
        if (window == nullptr) {
            guard.unlock();
            return;  // `result` is destroyed here, unrun
        }
        results.push_back(std::move(result));
        PostMessageW(window, kResultMessage, 0, 0);
    }
};

WindowMessageRunner::WindowMessageRunner() : mailbox_(std::make_shared<Mailbox>()) {}

WindowMessageRunner::~WindowMessageRunner() {
    Detach();
}

void WindowMessageRunner::Attach(HWND window) {
    std::lock_guard guard(mailbox_->lock);
    mailbox_->window = window;
}

void WindowMessageRunner::Detach() {
    std::deque<WindowTask> dropped;
    {
        std::lock_guard guard(mailbox_->lock);
        mailbox_->window = nullptr;
        dropped.swap(mailbox_->results);
    }
    // The tasks are destroyed outside the lock: what they hold may take a while to release.
}

void WindowMessageRunner::RunPending() {
    // A result may open a message box whose loop runs the next result meanwhile; each is taken
    // from the queue before it runs, so none runs twice.
    for (;;) {
        WindowTask result;
        {
            std::lock_guard guard(mailbox_->lock);
            if (mailbox_->results.empty() || mailbox_->window == nullptr) {
                return;
            }
            result = std::move(mailbox_->results.front());
            mailbox_->results.pop_front();
        }
        if (result) {
            result();
        }
    }
}

bool WindowMessageRunner::Start(std::function<WindowTask()> work) {
    return StartThread([mailbox = mailbox_, work = std::move(work)] { mailbox->Deliver(work()); });
}

int WindowMessageRunner::RunAndWait(std::function<int()> task) {
    struct Waiter {
        HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        int result = 0;
        ~Waiter() {
            if (done != nullptr) {
                CloseHandle(done);
            }
        }
    };
    auto waiter = std::make_shared<Waiter>();
    if (waiter->done == nullptr || !StartThread([waiter, task] {
            waiter->result = task();
            SetEvent(waiter->done);
        })) {
        return task();
    }

    // The window's messages (timers, finished runs, paints) are handled during the wait.
    bool quit = false;
    int quit_code = 0;
    for (;;) {
        const DWORD woken =
            MsgWaitForMultipleObjects(1, &waiter->done, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) {
            // Done, or the wait itself failed: then only the worker's end is waited for.
            if (woken != WAIT_OBJECT_0) {
                WaitForSingleObject(waiter->done, INFINITE);
            }
            break;
        }
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quit_code = static_cast<int>(message.wParam);
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (quit) {
        PostQuitMessage(quit_code);  // it belongs to the loop outside
    }
    return waiter->result;
}

}  // namespace quirn::win32
