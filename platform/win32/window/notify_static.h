// notify_static.h: the notice strip along the window's bottom edge: a dark bar with the text
// of its NoticeLabel model in white.
#pragma once

#include <windows.h>

#include "ui/display/notice_label.h"
#include "ui/layout/display_scale.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/gdi.h"

namespace quirn::win32 {

class CNotifyStatic : public StaticControl {
  public:
    CNotifyStatic();
    ~CNotifyStatic() override;

    // The notice to show; any thread may set it (the model hands the text over under its lock).
    NoticeLabel label;

    // (0, 0, width, height) of the strip's picture once bound; the main window sizes itself and
    // places the strip by it. All zero before binding or without the picture.
    RECT StripRect() const { return strip_rect_; }

    // Loads the strip and the font drawn for `scale`; the window's thread only.
    void SetScale(const DisplayScale& scale);

  protected:
    // Binding creates the font and loads the strip picture.
    void OnAttached() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void Paint();

    Bitmap strip_;
    Font font_;
    RECT strip_rect_{};
    DisplayScale scale_;
};

}  // namespace quirn::win32
