// about_dlg.cpp: the about dialog's logo, link label and its click.
#include "platform/win32/window/about_dlg.h"

#include "res/resource.h"
#include "res/strings.h"
#include "platform/win32/framework/dpi.h"
#include "platform/win32/framework/resources.h"
#include "platform/win32/window/version_detail_dlg.h"

namespace quirn::win32 {
namespace {
constexpr int kLogoLeft = 10;
constexpr int kLogoTop = 10;
}  // namespace

CAboutDlg::CAboutDlg(HWND owner) : Dialog(IDD_ABOUTBOX, owner) {}

CAboutDlg::~CAboutDlg() = default;

bool CAboutDlg::OnInitDialog() {
    ApplyScale(WindowDpi(hwnd()));
    return true;
}

void CAboutDlg::ApplyScale(int dpi) {
    // The template's controls scale with the dialog; the link's font and the logo are the
    // dialog's own.
    scale_ = DisplayScale::ForDpi(dpi);
    linkFont_ = CreateFontFromSystemFont(
        FontChange{scale_(12), -1, true, StringText(kLinkFontFaceText)});
    SendMessageW(Item(IDC_DETAIL_LINK), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()),
                 TRUE);
    logo_ = LoadScaledBitmap(IDB_LOGO, scale_);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool CAboutDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDC_DETAIL_LINK && code == STN_CLICKED) {
        VersionDetailDlg detail(hwnd());
        detail.DoModal();
        return true;
    }
    return Dialog::OnCommand(id, code, control);
}

std::optional<LRESULT> CAboutDlg::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CTLCOLORSTATIC: {
            // The default colours and brush, with the link's text in blue.
            const LRESULT brush = DefaultControlColour(message, wparam, lparam);
            if (reinterpret_cast<HWND>(lparam) == Item(IDC_DETAIL_LINK)) {
                SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 255));
            }
            return brush;
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wparam) == Item(IDC_DETAIL_LINK)) {
                SetCursor(LoadCursorResource(IDCUR_HAND_POINTER));
                return TRUE;
            }
            return std::nullopt;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DPICHANGED:
            ApplyScale(HIWORD(wparam));
            return std::nullopt;  // the dialog manager scales the rest
        default:
            return std::nullopt;
    }
}

void CAboutDlg::OnPaint() {
    PaintDc paint(hwnd());
    const SIZE size = BitmapSize(logo_.get());
    MemoryDc memory(paint.get());
    SelectedObject selected(memory.get(), logo_.get());
    // Pure red marks the logo's transparent pixels.
    TransparentBlt(paint.get(), scale_(kLogoLeft), scale_(kLogoTop), size.cx, size.cy,
                   memory.get(), 0, 0, size.cx, size.cy, RGB(255, 0, 0));
}

}  // namespace quirn::win32
