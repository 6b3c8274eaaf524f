// main_window_mark.h: tells the program's main window from its message boxes, which carry the
// same title, so that a second start brings the window itself forward.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <string>

namespace quirn::win32 {

// Marks `window` as the program's main window, from its creation until UnmarkMainWindow.
void MarkMainWindow(HWND window);
// Takes the mark off again; a window must not keep a property past its destruction.
void UnmarkMainWindow(HWND window);

// The top-level window titled exactly `title` that carries the mark, of any process on this
// desktop and shown or not; nullptr when there is none.
HWND FindMainWindow(const std::wstring& title);

}  // namespace quirn::win32
