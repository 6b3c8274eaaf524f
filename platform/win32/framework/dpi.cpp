// dpi.cpp: per-window DPI with a fall-back to the system's, looked up at run time so that the
// program still starts on a Windows without these calls.
#include "platform/win32/framework/dpi.h"

namespace quirn::win32 {
namespace {

template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? reinterpret_cast<Function>(
                                   reinterpret_cast<void (*)()>(GetProcAddress(user32, name)))
                             : nullptr;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto get_dpi_for_window =
        User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi =
        get_dpi_for_window != nullptr && window != nullptr ? get_dpi_for_window(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto get_system_metrics_for_dpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (get_system_metrics_for_dpi != nullptr && dpi > 0) {
        return get_system_metrics_for_dpi(index, static_cast<UINT>(dpi));
    }
    return GetSystemMetrics(index);
}

}  // namespace quirn::win32
