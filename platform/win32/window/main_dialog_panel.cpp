// main_dialog_panel.cpp: the detail panel (opening and closing it, its six lines of text) and
// the status controls' inputs, which show with the panel's texts.
#include "res/resource.h"
#include "ui/layout/main_layout.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/window/main_dialog.h"

namespace quirn::win32 {

void CLumoraDlg::ToggleDetailPanel() {
    const PanelToggle toggle =
        TogglePanel(expanded, logic_->ConnectionLost(),
                    PixelSize{backgroundRect.right - backgroundRect.left,
                              backgroundRect.bottom - backgroundRect.top},
                    PixelSize{panelRect.right - panelRect.left, panelRect.bottom - panelRect.top});
    expanded = toggle.expanded;
    for (int id : kPanelButtonIds) {
        ShowWindow(Item(id), toggle.show_panel_buttons ? SW_SHOW : SW_HIDE);
        if (toggle.disable_panel_buttons) {
            EnableWindow(Item(id), FALSE);
        }
    }
    MoveWindowTo(noticeCtrl.hwnd(), toggle.notice_position.x, toggle.notice_position.y);
    detailButton.LoadBitmaps(toggle.pictures.up, toggle.pictures.down, toggle.pictures.focused,
                             toggle.pictures.disabled, scale);

    RECT window{};
    GetWindowRect(hwnd(), &window);
    ResizeWindow(hwnd(), window.right - window.left,
                 window.bottom - window.top + toggle.height_change);
}

void CLumoraDlg::ShowAntenna(bool placeholders, int32_t connection_code, int32_t radio_level) {
    antennaCtrl.antenna.SetStatus(placeholders, connection_code, radio_level);
}

void CLumoraDlg::ShowBattery(bool placeholders, int32_t level, int32_t percent) {
    batteryCtrl.battery.SetStatus(placeholders, level, percent);
}

void CLumoraDlg::ShowConnection(int32_t connection_code) {
    connectCtrl.label.SetCode(connection_code);
}

void CLumoraDlg::ShowPanelTexts(const std::array<std::wstring, 6>& texts) {
    panelTexts_ = texts;
    // The lines show at the next paint; only an open panel needs one now.
    if (expanded) {
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
    // The texts come last in a display refresh, after the status controls' models: those
    // controls repaint from their models now.
    for (HWND control : {antennaCtrl.hwnd(), batteryCtrl.hwnd(), connectCtrl.hwnd()}) {
        InvalidateRect(control, nullptr, FALSE);
    }
}

}  // namespace quirn::win32
