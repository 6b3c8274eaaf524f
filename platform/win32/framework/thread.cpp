// thread.cpp: worker threads through the C runtime's thread start.
#include "platform/win32/framework/thread.h"

#include <process.h>
#include <windows.h>

#include <exception>
#include <memory>

#include "platform/win32/framework/dialog.h"

namespace quirn::win32 {
namespace {

unsigned __stdcall ThreadMain(void* parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    try {
        (*body)();
    } catch (const std::exception& fault) {
        ReportHandlerFault(fault);
    }
    return 0;
}

}  // namespace

bool StartThread(std::function<void()> body) {
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    const uintptr_t handle = _beginthreadex(nullptr, 0, &ThreadMain, owned.get(), 0, nullptr);
    if (handle == 0) {
        return false;
    }
    owned.release();  // the thread owns it now
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    return true;
}

}  // namespace quirn::win32
