// connect_status_static.h: the connection status control: draws the label picture that its
// ConnectionLabel model chooses for the router's connection code.
#pragma once

#include <windows.h>

#include "ui/display/connection_label.h"
#include "ui/layout/display_scale.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/window/label_drawing.h"

namespace quirn::win32 {

class CConnectStatusStatic : public StaticControl {
  public:
    CConnectStatusStatic();
    ~CConnectStatusStatic() override;

    // The connection code to show; any thread may set it.
    ConnectionLabel label;

    // Loads the pictures drawn for `scale`; the window's thread only.
    void SetScale(const DisplayScale& scale);

  protected:
    // Binding loads the five pictures.
    void OnAttached() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    PictureSet pictures_;
    DisplayScale scale_;
};

}  // namespace quirn::win32
