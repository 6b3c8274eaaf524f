// option_dlg.h: the settings dialog (template 153): the administrator password and the router's
// address, with its rules in an OptionDialogModel.
#pragma once

#include <windows.h>

#include "ui/logic/option_dialog_model.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/dialog.h"
#include "platform/win32/window/owned_message_boxes.h"

namespace quirn::win32 {

// The password box. Characters go to the edit control unchanged: a password may hold any.
class CEditPass : public EditControl {
  protected:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};

class COptionDlg : public Dialog {
  public:
    // `model` decides what is shown and what OK stores; it outlives the dialog.
    COptionDlg(HWND owner, OptionDialogModel& model);

    CEditPass passwordEdit;
    EditControl addressEdit;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool PreTranslateMessage(MSG& message) override;

  private:
    OptionDialogModel& model_;
    OwnedMessageBoxes boxes_;
};

}  // namespace quirn::win32
