// bitmap_button.h: an owner-drawn push button that shows one of four pictures: up, down
// (pressed), focused and disabled.
#pragma once

#include <windows.h>

#include <string>

#include "ui/layout/display_scale.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/gdi.h"

namespace quirn::win32 {

// The button's dialog item must have the owner-drawn style; its dialog hands WM_DRAWITEM on.
class BitmapButton : public OwnedControl {
  public:
    // Loads the pictures by resource name, replacing the old ones, and repaints a bound button.
    // The down, focused and disabled pictures may be missing (the up picture stands in); false
    // when the up picture is missing.
    // The names are those of the 100 % pictures; the ones drawn for `scale` are loaded.
    bool LoadBitmaps(const std::wstring& up, const std::wstring& down, const std::wstring& focused,
                     const std::wstring& disabled, const DisplayScale& scale = {});

    // Binds item `id` of `dialog`, takes the button's text as the base name, loads base + "U",
    // "D", "F" and "X" drawn for `scale` and sizes the button to the up picture. False when
    // binding or the up picture fails.
    bool AutoLoad(HWND dialog, int id, const DisplayScale& scale = {});

    // Loads the bound button's own pictures again, drawn for `scale`, and sizes it to them.
    bool Rescale(const DisplayScale& scale);

    bool DrawItem(const DRAWITEMSTRUCT& item) override;

  private:
    bool LoadOwnPictures(const DisplayScale& scale);

    Bitmap up_;
    Bitmap down_;
    Bitmap focused_;
    Bitmap disabled_;
};

}  // namespace quirn::win32
