// main_dialog_skin.cpp: the main window's skin: its pictures and font, drawing the background and
// the panel off-screen, the fixed pixel layout and the repaint of the children over the skin.
#include <stdexcept>

#include "res/resource.h"
#include "res/strings.h"
#include "ui/layout/main_layout.h"
#include "ui/logic/tray_options.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/resources.h"
#include "platform/win32/window/main_dialog.h"

namespace quirn::win32 {
namespace {

PixelSize SizeOf(const RECT& rect) {
    return PixelSize{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void CLumoraDlg::CreatePanelFont() {
    panelFont =
        CreateFontFromSystemFont(FontChange{12, FW_BOLD, false, StringText(kPanelFontFaceText)});
}

void CLumoraDlg::LoadSkinBitmaps() {
    backgroundBitmap = LoadBitmapResource(IDB_SKIN);
    panelBitmap = LoadBitmapResource(IDB_PANEL);
    const SIZE background = BitmapSize(backgroundBitmap.get());
    const SIZE panel = BitmapSize(panelBitmap.get());
    backgroundRect = RECT{0, 0, background.cx, background.cy};
    panelRect = RECT{0, 0, panel.cx, panel.cy};
    // Each button takes its pictures' base name from its text and its size from the up picture.
    reloadButton.AutoLoad(hwnd(), IDC_RELOAD);
    switchButton.AutoLoad(hwnd(), IDC_SWITCH);
    detailButton.AutoLoad(hwnd(), IDC_DETAIL);
}

bool CLumoraDlg::LayoutControls() {
    bool laid_out = true;
    RECT window{};
    RECT client{};
    if (!GetWindowRect(hwnd(), &window) || window.bottom == window.top) {
        laid_out = false;
    }
    if (!GetClientRect(hwnd(), &client) || client.bottom == client.top) {
        laid_out = false;
    }

    const RECT strip = noticeCtrl.StripRect();
    const PixelSize size =
        SkinnedWindowSize(SizeOf(window), SizeOf(client), SizeOf(backgroundRect), SizeOf(strip));
    ResizeWindow(hwnd(), size.width, size.height);
    for (const ControlPlacement& placement : kMainControlPlacements) {
        MoveWindowTo(Item(placement.control_id), placement.position.x, placement.position.y);
    }
    SetWindowPos(noticeCtrl.hwnd(), nullptr, strip.left, SizeOf(backgroundRect).height,
                 SizeOf(strip).width, SizeOf(strip).height, SWP_NOZORDER | SWP_NOACTIVATE);

    // A window without its menu keeps the check marks it has; the fault must not leave a
    // message handler, and the layout itself is done.
    try {
        ApplyMenuChecks();
    } catch (const std::exception& fault) {
        ReportHandlerFault(fault);
    }
    return laid_out;
}

void CLumoraDlg::ApplyMenuChecks() {
    const AppSettings& settings = logic_->Settings();
    const MenuChecks checks =
        MenuChecksFor(settings.app_startup.value, settings.app_keep_task.value);
    CheckOption(MenuOption::kAutostart, checks.autostart);
    SetAutostartShortcut(checks.autostart);
    CheckOption(MenuOption::kKeepInTray, checks.keep_in_tray);
}

namespace {

// The option's item in the main menu's first popup.
UINT CommandIdOf(MenuOption option) {
    return option == MenuOption::kAutostart ? ID_SYSTEM_AUTOSTART : ID_SYSTEM_KEEP_IN_TRAY;
}

}  // namespace

bool CLumoraDlg::IsOptionChecked(MenuOption option) {
    HMENU menu = GetMenu(hwnd());
    HMENU popup = menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
    if (popup == nullptr) {
        throw std::runtime_error("IsMenuChecked::GetMenuItem failed");
    }
    return GetMenuState(popup, CommandIdOf(option), MF_BYCOMMAND) == MF_CHECKED;
}

void CLumoraDlg::CheckOption(MenuOption option, bool checked) {
    HMENU menu = GetMenu(hwnd());
    HMENU popup = menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
    if (popup == nullptr) {
        throw std::runtime_error("IsMenuChecked::SetMenuCheck failed");
    }
    CheckMenuItem(popup, CommandIdOf(option), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CLumoraDlg::OnPaint() {
    if (IsIconic(hwnd())) {
        PaintDc paint(hwnd());
        SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
        RECT client{};
        GetClientRect(hwnd(), &client);
        const PixelPoint at = MinimisedIconPosition(
            SizeOf(client), {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
        DrawIcon(paint.get(), at.x, at.y, largeIcon);
    } else {
        PaintDc paint(hwnd());  // only validates: the skin below covers the whole client area
    }
    {
        WindowDc window(hwnd());
        DrawSkin(window.get());
    }
    RefreshControlsNow();
}

void CLumoraDlg::DrawSkin(HDC dc) {
    MemoryDc skin(dc);
    {
        SelectedObject background(skin.get(), backgroundBitmap.get());
        const PixelSize size = SizeOf(backgroundRect);
        BitBlt(dc, 0, 0, size.width, size.height, skin.get(), 0, 0, SRCCOPY);
    }
    if (!expanded) {
        return;
    }
    // The panel and its texts are composed off-screen and copied in one piece.
    const PixelSize panel = SizeOf(panelRect);
    MemoryDc composed(dc);
    Bitmap canvas(CreateCompatibleBitmap(dc, panel.width, panel.height));
    SelectedObject on_canvas(composed.get(), canvas.get());
    {
        SelectedObject picture(skin.get(), panelBitmap.get());
        BitBlt(composed.get(), 0, 0, panel.width, panel.height, skin.get(), 0, 0, SRCCOPY);
    }
    SetBkMode(composed.get(), TRANSPARENT);
    SetTextColor(composed.get(), RGB(0, 0, 0));
    SelectedObject font(composed.get(), panelFont.get());
    for (size_t line = 0; line < panelTexts_.size(); ++line) {
        const std::wstring& text = panelTexts_[line];
        TextOutW(composed.get(), kPanelTextX, kPanelTextY[line], text.c_str(),
                 static_cast<int>(text.size()));
    }
    BitBlt(dc, backgroundRect.left, SizeOf(backgroundRect).height, panel.width, panel.height,
           composed.get(), 0, 0, SRCCOPY);
}

void CLumoraDlg::RefreshControlsNow() {
    // The window does not clip its children, so the skin has just been drawn over them.
    for (int id : kRefreshOrder) {
        if (HWND control = Item(id)) {
            InvalidateRect(control, nullptr, FALSE);
            UpdateWindow(control);
        }
    }
}

}  // namespace quirn::win32
