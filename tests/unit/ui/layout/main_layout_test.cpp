// The main window's layout: window size for the skin, the detail panel toggle, where the
// controls go and the minimised icon.
#include "ui/layout/main_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quirn {
namespace {

constexpr PixelSize kSkin{320, 180};
constexpr PixelSize kPanel{320, 140};
constexpr PixelSize kNotice{320, 20};

TEST(MainLayout, WindowSizeKeepsTheFrameAroundTheSkinAndNoticeStrip) {
    // A frame of 6 x 48 pixels (borders, caption, menu bar) around whatever client there is.
    EXPECT_EQ(SkinnedWindowSize({406, 450}, {400, 402}, kSkin, kNotice), (PixelSize{326, 248}));
    // A window not yet sized still gets the skin's client area once its frame is known.
    EXPECT_EQ(SkinnedWindowSize({6, 48}, {0, 0}, kSkin, kNotice), (PixelSize{326, 248}));
    // Without pictures only the frame remains.
    EXPECT_EQ(SkinnedWindowSize({406, 450}, {400, 402}, {}, {}), (PixelSize{6, 48}));
}

TEST(MainLayout, ClosingAndOpeningThePanelAreInverse) {
    const PanelToggle closed = TogglePanel(true, false, kSkin, kPanel);
    EXPECT_FALSE(closed.expanded);
    EXPECT_FALSE(closed.show_panel_buttons);
    EXPECT_FALSE(closed.disable_panel_buttons);
    EXPECT_EQ(closed.notice_position, (PixelPoint{0, 180}));
    EXPECT_EQ(closed.height_change, -140);
    EXPECT_EQ(closed.pictures, (DetailButtonPictures{L"BTN_DETAIL_U", L"BTN_DETAIL_D",
                                                     L"BTN_DETAIL_F", L"BTN_DETAIL_X"}));

    const PanelToggle opened = TogglePanel(false, false, kSkin, kPanel);
    EXPECT_TRUE(opened.expanded);
    EXPECT_TRUE(opened.show_panel_buttons);
    EXPECT_FALSE(opened.disable_panel_buttons);
    EXPECT_EQ(opened.notice_position, (PixelPoint{0, 320}));
    EXPECT_EQ(opened.height_change, 140);
    EXPECT_EQ(opened.pictures, (DetailButtonPictures{L"BTN_DETAIL_U2", L"BTN_DETAIL_D",
                                                     L"BTN_DETAIL_F2", L"BTN_DETAIL_X"}));
}

TEST(MainLayout, OpeningWhileTheRouterIsLostDisablesThePanelButtons) {
    EXPECT_TRUE(TogglePanel(false, true, kSkin, kPanel).disable_panel_buttons);
    // Closing hides them; their enabled state is not touched.
    EXPECT_FALSE(TogglePanel(true, true, kSkin, kPanel).disable_panel_buttons);
}

TEST(MainLayout, FirstToggleBeforeTheSkinIsLoadedChangesNothingInSize) {
    // The window closes its panel before the skin exists; the layout then sizes it.
    const PanelToggle first = TogglePanel(true, false, {}, {});
    EXPECT_EQ(first.height_change, 0);
    EXPECT_EQ(first.notice_position, (PixelPoint{0, 0}));
}

TEST(MainLayout, ControlsAreWhereTheSkinExpectsThem) {
    auto placement = [](int id) {
        return std::find_if(kMainControlPlacements.begin(), kMainControlPlacements.end(),
                            [id](const ControlPlacement& p) { return p.control_id == id; });
    };
    // The switch button (60 wide) lies over the empty middle span (68..134) of the connection
    // picture at x = 60.
    const PixelPoint picture = placement(IDC_CONNECT_STATUS)->position;
    const PixelPoint button = placement(IDC_SWITCH)->position;
    EXPECT_GE(button.x, picture.x + 68);
    EXPECT_LE(button.x + 60, picture.x + 134);
    // The panel buttons sit on the panel, below the 180-pixel skin.
    for (int id : kPanelButtonIds) {
        EXPECT_GT(placement(id)->position.y, kSkin.height) << id;
    }
    // Every control of the window is placed once, and repainted once.
    EXPECT_EQ(placement(IDC_NOTICE), kMainControlPlacements.end());  // placed from its picture
    for (const ControlPlacement& p : kMainControlPlacements) {
        EXPECT_EQ(std::count(kRefreshOrder.begin(), kRefreshOrder.end(), p.control_id), 1);
    }
    // The switch button is repainted after the picture it lies on.
    EXPECT_LT(std::find(kRefreshOrder.begin(), kRefreshOrder.end(), IDC_CONNECT_STATUS),
              std::find(kRefreshOrder.begin(), kRefreshOrder.end(), IDC_SWITCH));
}

TEST(MainLayout, MinimisedIconIsCentredRoundingUp) {
    EXPECT_EQ(MinimisedIconPosition({320, 200}, {32, 32}), (PixelPoint{144, 84}));
    EXPECT_EQ(MinimisedIconPosition({33, 33}, {32, 32}), (PixelPoint{1, 1}));
    EXPECT_EQ(MinimisedIconPosition({0, 0}, {32, 32}), (PixelPoint{-15, -15}));
}

}  // namespace
}  // namespace quirn
