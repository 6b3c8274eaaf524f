// dpi.h: the DPI a window is drawn at, and the system's sizes for it.
//
// The program is per-monitor DPI aware: each window asks for its own DPI, which follows the
// display it is on. The calls for that came with Windows 10 (1607); before it, or where they
// fail, the system's DPI stands in, as it is then the only one.
#pragma once

#include <windows.h>

namespace quirn::win32 {

// The DPI of the display `window` is on (96 at 100 %).
int WindowDpi(HWND window);

// GetSystemMetrics(`index`) for a window at `dpi` (icon sizes and the like).
int SystemMetricForDpi(int index, int dpi);

}  // namespace quirn::win32
