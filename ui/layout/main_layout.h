// main_layout.h: the main window's fixed pixel layout: where each control goes, how big the
// window must be for its skin, what opening and closing the detail panel changes, and where the
// minimised window draws its icon.
//
// Pixels throughout; the layout assumes the shipped bitmap sizes (skin 320 x 180, panel 320 x
// 140, notice strip 320 x 20).
#pragma once

#include <array>
#include <string>

#include "res/resource.h"
#include "ui/layout/pixel_geometry.h"

namespace quirn {

// A control's client position.
struct ControlPlacement {
    int control_id;
    PixelPoint position;
};

// Where the layout puts each control, keeping its size. The switch button lies over the middle of
// the connection status picture, whose pictures leave that span empty.
inline constexpr std::array<ControlPlacement, 9> kMainControlPlacements{{
    {IDC_ANTENNA, {42, 40}},
    {IDC_BATTERY, {173, 65}},
    {IDC_RELOAD, {5, 143}},
    {IDC_SWITCH, {130, 143}},
    {IDC_DETAIL, {275, 143}},
    {IDC_STANDBY, {20, 290}},
    {IDC_REBOOT, {120, 290}},
    {IDC_CHECK, {220, 290}},
    {IDC_CONNECT_STATUS, {60, 150}},
}};

// The command buttons that live on the detail panel.
inline constexpr std::array<int, 3> kPanelButtonIds{IDC_STANDBY, IDC_REBOOT, IDC_CHECK};

// The order in which the children are repainted over the freshly drawn skin; the switch button
// comes after the connection picture it lies on.
inline constexpr std::array<int, 10> kRefreshOrder{
    IDC_ANTENNA, IDC_BATTERY, IDC_NOTICE,  IDC_CONNECT_STATUS, IDC_RELOAD,
    IDC_DETAIL,  IDC_SWITCH,  IDC_STANDBY, IDC_REBOOT,         IDC_CHECK,
};

// The six panel lines: left edge and the top of each line, inside the panel.
inline constexpr int kPanelTextX = 10;
inline constexpr std::array<int, 6> kPanelTextY{10, 27, 44, 59, 74, 89};

// Outer window size that gives a client area of the skin's width and of the skin's height plus
// the notice strip's, keeping the frame (window size less client size) the window has now.
PixelSize SkinnedWindowSize(PixelSize window, PixelSize client, PixelSize skin, PixelSize notice);

// The detail button's four pictures, by resource name.
struct DetailButtonPictures {
    std::wstring up;
    std::wstring down;
    std::wstring focused;
    std::wstring disabled;
    friend bool operator==(const DetailButtonPictures&, const DetailButtonPictures&) = default;
};

// The detail button's pictures while the panel is open (`expanded`) or closed.
DetailButtonPictures DetailPicturesFor(bool expanded);

// What opening or closing the detail panel changes.
struct PanelToggle {
    bool expanded;                  // the panel's new state
    bool show_panel_buttons;        // show (true) or hide the three panel buttons
    bool disable_panel_buttons;     // disable them as well (opening while the router is lost)
    PixelPoint notice_position;     // the notice strip's new place, below the skin (and panel)
    DetailButtonPictures pictures;  // the detail button's pictures for the new state
    int height_change;              // added to the window's height
};

// Opens a closed panel or closes an open one. Opening while `connection_lost` disables the panel
// buttons; otherwise their enabled states are left alone.
PanelToggle TogglePanel(bool expanded, bool connection_lost, PixelSize skin, PixelSize panel);

// Where a minimised window draws its icon: centred in the client area, rounding up.
PixelPoint MinimisedIconPosition(PixelSize client, PixelSize icon);

}  // namespace quirn
