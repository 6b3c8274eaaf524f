// about_dlg.h: the about dialog: name, version, copyright and logo, with a link-styled label
// that opens the version detail dialog. The label is created hidden and nothing shows it.
#pragma once

#include <windows.h>

#include "ui/layout/display_scale.h"
#include "platform/win32/framework/dialog.h"
#include "platform/win32/framework/gdi.h"

namespace quirn::win32 {

class CAboutDlg : public Dialog {
  public:
    // `owner` (may be null) is disabled while the dialog runs.
    explicit CAboutDlg(HWND owner = nullptr);
    ~CAboutDlg() override;

  protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    // The link's font and the logo for a dialog at `dpi`.
    void ApplyScale(int dpi);

    void OnPaint();

    Font linkFont_;
    Bitmap logo_;
    DisplayScale scale_;  // the dialog's, from its DPI
};

}  // namespace quirn::win32
