// option_dlg.cpp: the settings dialog's controls: filled from the model at the start, handed to
// it on OK.
#include "platform/win32/window/option_dlg.h"

#include "res/resource.h"

namespace quirn::win32 {

std::optional<LRESULT> CEditPass::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CHAR) {
        return CallDefault(message, wparam, lparam);  // nothing is filtered
    }
    return std::nullopt;
}

COptionDlg::COptionDlg(HWND owner, OptionDialogModel& model)
    : Dialog(IDD_OPTION, owner), model_(model) {}

bool COptionDlg::OnInitDialog() {
    boxes_.SetOwner(hwnd());
    passwordEdit.Attach(hwnd(), IDC_PASSWORD);
    addressEdit.Attach(hwnd(), IDC_ADDRESS);

    const OptionDialogSetup setup = model_.Setup();
    SetWindowTextW(Item(IDC_USER_ID), setup.user_id.c_str());
    passwordEdit.SetText(setup.password);
    addressEdit.SetText(setup.address);
    ShowWindow(Item(IDC_ADDRESS_LABEL), SW_SHOW);
    ShowWindow(addressEdit.hwnd(), SW_SHOW);
    EnableWindow(passwordEdit.hwnd(), setup.password_enabled ? TRUE : FALSE);
    EnableWindow(addressEdit.hwnd(), setup.address_enabled ? TRUE : FALSE);
    if (HWND focus = Item(setup.focus_control)) {
        SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    }
    return false;  // the focus is set
}

void COptionDlg::OnOK() {
    if (model_.Confirm(addressEdit.GetText(), passwordEdit.GetText(), boxes_)) {
        EndDialog(IDOK);
    }
}

bool COptionDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_PASSWORD && code == EN_SETFOCUS) {
        // The whole password is selected, so typing replaces it.
        SendMessageW(passwordEdit.hwnd(), EM_SETSEL, 0, -1);
        SendMessageW(passwordEdit.hwnd(), EM_SCROLLCARET, 0, 0);
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

bool COptionDlg::PreTranslateMessage(MSG& message) {
    // Escape does not close the dialog; the Cancel button does.
    return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
}

}  // namespace quirn::win32
