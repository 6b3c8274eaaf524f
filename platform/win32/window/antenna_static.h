// antenna_static.h: the signal antenna control: draws the picture its RadioAntenna model
// chooses.
#pragma once

#include <windows.h>

#include "ui/display/radio_antenna.h"
#include "ui/layout/display_scale.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/gdi.h"
#include "platform/win32/window/label_drawing.h"

namespace quirn::win32 {

class CAntennaStatic : public StaticControl {
  public:
    // Loads the eight pictures; the model is told which of them could be loaded.
    CAntennaStatic();
    ~CAntennaStatic() override;

  private:
    PictureSet pictures_;  // declared before the model, which is built from it

  public:
    // The antenna's inputs; any thread may set them (the model has its own lock).
    RadioAntenna antenna;

    // Loads the pictures drawn for `scale`; the window's thread only.
    void SetScale(const DisplayScale& scale);

  protected:
    void OnAttached() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    static std::map<int32_t, int> LoadPictures(PictureSet& pictures,
                                               const DisplayScale& scale = {});
    void Draw();

    MemoryDc memory_;
};

}  // namespace quirn::win32
