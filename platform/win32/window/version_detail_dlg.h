// version_detail_dlg.h: the version detail dialog: the licence notices in a read-only text
// field that fills the dialog above a centred OK button.
#pragma once

#include <windows.h>

#include "platform/win32/framework/dialog.h"

namespace quirn::win32 {

class VersionDetailDlg : public Dialog {
  public:
    // `owner` (may be null) is disabled while the dialog runs.
    explicit VersionDetailDlg(HWND owner = nullptr);
    ~VersionDetailDlg() override;

  protected:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void LayOut();
};

}  // namespace quirn::win32
