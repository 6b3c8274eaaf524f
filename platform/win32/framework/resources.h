// resources.h: loading the module's own resources (strings, bitmaps, icons, cursors).
//
// Loading failures are not reported: an empty string, an empty bitmap or a null handle comes back
// and the caller draws nothing for it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/layout/display_scale.h"
#include "platform/win32/framework/gdi.h"

namespace quirn::win32 {

// The module whose resources are loaded (the executable).
HINSTANCE ModuleInstance();

// The text of string-table entry `id`; empty when it is missing.
std::wstring LoadResourceString(int id);

// A bitmap by numeric id or by name, owned by the caller.
Bitmap LoadBitmapResource(int id);
Bitmap LoadBitmapResource(const std::wstring& name);

// The picture `id` or `name` (its 100 % resource) as drawn for `scale`; the 100 % picture where
// the build has none for that scale.
Bitmap LoadScaledBitmap(int id, const DisplayScale& scale);
Bitmap LoadScaledBitmap(const std::wstring& name, const DisplayScale& scale);

// An icon of the given size, owned by the caller: the window's icons change size with its DPI,
// which shared icons cannot (the system hands out the size first loaded).
Icon LoadOwnedIcon(int id, int width, int height);

// An icon of the given size in pixels (0 x 0: the resource's own size). Icons are shared
// resources of the module: they live until the process ends and are never destroyed.
HICON LoadIconResource(int id, int width = 0, int height = 0);

// A cursor of the module, shared like the icons.
HCURSOR LoadCursorResource(int id);

}  // namespace quirn::win32
