// bitmap_button.h: an owner-drawn push button that shows one of four pictures: up, down
// (pressed), focused and disabled.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/framework/control.h"
#include "platform/win32/framework/gdi.h"

namespace quirn::win32 {

// The button's dialog item must have the owner-drawn style; its dialog hands WM_DRAWITEM on.
class BitmapButton : public OwnedControl {
  public:
    // Loads the pictures by resource name, replacing the old ones, and repaints a bound button.
    // The down, focused and disabled pictures may be missing (the up picture stands in); false
    // when the up picture is missing.
    bool LoadBitmaps(const std::wstring& up, const std::wstring& down, const std::wstring& focused,
                     const std::wstring& disabled);

    // Binds item `id` of `dialog`, takes the button's text as the base name, loads base + "U",
    // "D", "F" and "X" and sizes the button to the up picture. False when binding or the up
    // picture fails.
    bool AutoLoad(HWND dialog, int id);

    bool DrawItem(const DRAWITEMSTRUCT& item) override;

  private:
    Bitmap up_;
    Bitmap down_;
    Bitmap focused_;
    Bitmap disabled_;
};

}  // namespace quirn::win32
