// main_dialog_skin.cpp: the main window's skin: its pictures and font at the window's scale,
// drawing the background and the panel off-screen, the pixel layout (and again after a DPI
// change) and the repaint of the children over the skin.
#include <stdexcept>
#include <utility>

#include "res/resource.h"
#include "res/strings.h"
#include "ui/layout/main_layout.h"
#include "ui/logic/tray_options.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/dpi.h"
#include "platform/win32/framework/resources.h"
#include "platform/win32/window/main_dialog.h"

namespace quirn::win32 {
namespace {

PixelSize SizeOf(const RECT& rect) {
    return PixelSize{rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void CLumoraDlg::ApplyScale(int dpi) {
    scale = DisplayScale::ForDpi(dpi);
    LoadWindowIcons(dpi);
    antennaCtrl.SetScale(scale);
    batteryCtrl.SetScale(scale);
    connectCtrl.SetScale(scale);
    noticeCtrl.SetScale(scale);
}

void CLumoraDlg::LoadWindowIcons(int dpi) {
    const int large = SystemMetricForDpi(SM_CXICON, dpi);
    const int small = SystemMetricForDpi(SM_CXSMICON, dpi);
    largeIcon = LoadOwnedIcon(IDI_APP_LARGE, large, large);
    smallIcon = LoadOwnedIcon(IDI_APP_SMALL, small, small);
    smallIconLarge = LoadOwnedIcon(IDI_APP_SMALL, large, large);
    // The window keeps using the icons it is given: the old ones go only after it has the new.
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(smallIconLarge.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
}

void CLumoraDlg::CreatePanelFont() {
    panelFont = CreateFontFromSystemFont(
        FontChange{scale(12), FW_BOLD, false, StringText(kPanelFontFaceText)});
}

void CLumoraDlg::LoadSkinBitmaps() {
    LoadSkinPictures();
    // Each button takes its pictures' base name from its text and its size from the up picture.
    reloadButton.AutoLoad(hwnd(), IDC_RELOAD, scale);
    switchButton.AutoLoad(hwnd(), IDC_SWITCH, scale);
    detailButton.AutoLoad(hwnd(), IDC_DETAIL, scale);
}

void CLumoraDlg::LoadSkinPictures() {
    backgroundBitmap = LoadScaledBitmap(IDB_SKIN, scale);
    panelBitmap = LoadScaledBitmap(IDB_PANEL, scale);
    const SIZE background = BitmapSize(backgroundBitmap.get());
    const SIZE panel = BitmapSize(panelBitmap.get());
    backgroundRect = RECT{0, 0, background.cx, background.cy};
    panelRect = RECT{0, 0, panel.cx, panel.cy};
}

void CLumoraDlg::OnDpiLayout() {
    if (pendingDpi_ == 0) {
        return;
    }
    // The icons take the display's own DPI; the pictures that of the scale it chooses.
    const int dpi = std::exchange(pendingDpi_, 0);
    const RECT& suggested = pendingDpiRect_;
    const DpiChange change = PlanDpiChange(
        scale, dpi, PixelRect{suggested.left, suggested.top, suggested.right, suggested.bottom});
    if (change.reload_pictures) {
        ApplyScale(dpi);
        CreatePanelFont();
        LoadSkinPictures();
        reloadButton.Rescale(scale);
        switchButton.Rescale(scale);
        detailButton.Rescale(scale);
        const DetailButtonPictures pictures = DetailPicturesFor(expanded);
        detailButton.LoadBitmaps(pictures.up, pictures.down, pictures.focused, pictures.disabled,
                                 scale);
    } else {
        LoadWindowIcons(dpi);
    }
    MoveWindowTo(hwnd(), change.position.x, change.position.y);
    PlaceControls();
    InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CLumoraDlg::LayoutControls() {
    const bool laid_out = PlaceControls();
    // A window without its menu keeps the check marks it has; the fault must not leave a
    // message handler, and the layout itself is done.
    try {
        ApplyMenuChecks();
    } catch (const std::exception& fault) {
        ReportHandlerFault(fault);
    }
    return laid_out;
}

bool CLumoraDlg::PlaceControls() {
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
    // The open panel adds its height below the skin; the notice strip goes under it.
    const int panel_height = expanded ? SizeOf(panelRect).height : 0;
    const PixelSize size =
        SkinnedWindowSize(SizeOf(window), SizeOf(client), SizeOf(backgroundRect), SizeOf(strip));
    ResizeWindow(hwnd(), size.width, size.height + panel_height);
    for (const ControlPlacement& placement : kMainControlPlacements) {
        const PixelPoint at = scale(placement.position);
        MoveWindowTo(Item(placement.control_id), at.x, at.y);
    }
    SetWindowPos(noticeCtrl.hwnd(), nullptr, strip.left,
                 SizeOf(backgroundRect).height + panel_height, SizeOf(strip).width,
                 SizeOf(strip).height, SWP_NOZORDER | SWP_NOACTIVATE);
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
        const int dpi = WindowDpi(hwnd());
        const PixelPoint at =
            MinimisedIconPosition(SizeOf(client), {SystemMetricForDpi(SM_CXICON, dpi),
                                                   SystemMetricForDpi(SM_CYICON, dpi)});
        DrawIcon(paint.get(), at.x, at.y, largeIcon.get());
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
        TextOutW(composed.get(), scale(kPanelTextX), scale(kPanelTextY[line]), text.c_str(),
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
