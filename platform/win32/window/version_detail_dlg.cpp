// version_detail_dlg.cpp: the licence text and the detail dialog's layout.
#include "platform/win32/window/version_detail_dlg.h"

#include "res/resource.h"
#include "res/strings.h"
#include "ui/layout/version_detail_layout.h"
#include "platform/win32/framework/dpi.h"

namespace quirn::win32 {

VersionDetailDlg::VersionDetailDlg(HWND owner) : Dialog(IDD_VERSION_DETAIL, owner) {}

VersionDetailDlg::~VersionDetailDlg() = default;

bool VersionDetailDlg::OnInitDialog() {
    LayOut();
    SetWindowTextW(Item(IDC_LICENSE_TEXT), StringText(kLicenseNoticeText));
    return true;
}

std::optional<LRESULT> VersionDetailDlg::OnMessage(UINT message, WPARAM /*wparam*/,
                                                   LPARAM /*lparam*/) {
    if (message == WM_SIZE) {
        LayOut();
    }
    return std::nullopt;
}

void VersionDetailDlg::LayOut() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    HWND button = Item(IDOK);
    RECT button_rect{};
    if (button != nullptr) {
        GetWindowRect(button, &button_rect);
    }
    const DetailLayout layout = LayOutVersionDetail(
        PixelRect{client.left, client.top, client.right, client.bottom},
        PixelSize{button_rect.right - button_rect.left, button_rect.bottom - button_rect.top},
        DisplayScale::ForDpi(WindowDpi(hwnd())));
    if (button != nullptr) {
        MoveWindow(button, layout.button.left, layout.button.top, layout.button.width(),
                   layout.button.height(), TRUE);
    }
    if (HWND text = Item(IDC_LICENSE_TEXT)) {
        MoveWindow(text, layout.text.left, layout.text.top, layout.text.width(),
                   layout.text.height(), TRUE);
    }
}

}  // namespace quirn::win32
