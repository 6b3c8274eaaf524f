// battery_static.h: the battery gauge control: draws the frame and percentage that its Battery
// model chooses and runs the charging animation on its own timer.
#pragma once

#include <windows.h>

#include "ui/display/battery.h"
#include "ui/layout/display_scale.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/gdi.h"
#include "platform/win32/window/label_drawing.h"

namespace quirn::win32 {

class CBatteryStatic : public StaticControl {
  public:
    // Loads the 22 frames and the percentage font.
    CBatteryStatic();
    ~CBatteryStatic() override;

    // Loads the frames and the font drawn for `scale`; the window's thread only.
    void SetScale(const DisplayScale& scale);

    // The gauge's inputs; any thread may set them (the model has its own lock).
    Battery battery;

  protected:
    // Binding: the memory context and the animation timer.
    void OnAttached() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void Draw();

    PictureSet frames_;
    Font font_;
    DisplayScale scale_;
    MemoryDc memory_;
};

}  // namespace quirn::win32
