// message_box.h: the program's message boxes, captioned with the program's title.
#pragma once

#include <windows.h>

#include <string>

namespace quirn::win32 {

// Shows `text` with the buttons and icon of `type` (MB_OK, MB_YESNO | MB_ICONQUESTION, ...) and
// returns the button chosen (IDOK, IDYES, ...), or 0 when no box could be shown. `owner` may be
// null. Any thread; the call returns when the box is closed.
int ShowMessageBox(HWND owner, const std::wstring& text, UINT type);

// The same with the text of string-table entry `string_id`.
int ShowMessageBox(HWND owner, int string_id, UINT type);

}  // namespace quirn::win32
