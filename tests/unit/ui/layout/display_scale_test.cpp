// The window's scale on displays of each DPI: which picture scale it takes, the one rounding
// rule, the layout it gives at each scale and what a DPI change does.
#include "ui/layout/display_scale.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ui/display/battery.h"
#include "ui/display/notice_label.h"
#include "ui/layout/main_layout.h"
#include "ui/layout/version_detail_layout.h"

namespace quirn {
namespace {

TEST(DisplayScale, TakesTheSmallestPictureScaleThatCoversTheDisplay) {
    const struct {
        int dpi;
        int percent;
    } cases[] = {
        {0, 100},   {-5, 100},  {72, 100},  {96, 100},  {97, 125},  {120, 125}, {121, 150},
        {144, 150}, {150, 175}, {168, 175}, {192, 200}, {193, 200}, {240, 200}, {480, 200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayScale::ForDpi(c.dpi).percent(), c.percent) << c.dpi;
    }
    EXPECT_EQ(DisplayScale::ForDpi(144).dpi(), 144);
    EXPECT_EQ(DisplayScale::ForDpi(130).dpi(), 144);
    EXPECT_EQ(DisplayScale(), DisplayScale::ForDpi(96));
}

TEST(DisplayScale, RoundsHalvesAwayFromZeroAlike) {
    const DisplayScale s125 = DisplayScale::ForDpi(120);
    const DisplayScale s150 = DisplayScale::ForDpi(144);
    const DisplayScale s175 = DisplayScale::ForDpi(168);
    EXPECT_EQ(s125(2), 3);    // 2.5
    EXPECT_EQ(s125(1), 1);    // 1.25
    EXPECT_EQ(s150(1), 2);    // 1.5
    EXPECT_EQ(s150(3), 5);    // 4.5
    EXPECT_EQ(s175(3), 5);    // 5.25
    EXPECT_EQ(s150(-3), -5);  // a height change shrinks by what it grows
    EXPECT_EQ(s150(-140), -210);
    EXPECT_EQ(s125(0), 0);
    // A rectangle keeps its scaled size wherever it lies.
    EXPECT_EQ(s125(PixelRect{5, 143, 45, 176}), (PixelRect{6, 179, 56, 220}));
    EXPECT_EQ(s125(PixelRect{275, 143, 315, 176}), (PixelRect{344, 179, 394, 220}));
}

TEST(DisplayScale, NamesThePicturesDrawnForIt) {
    const struct {
        int dpi;
        int skin_id;
        const wchar_t* button;
    } cases[] = {
        {96, 227, L"BTN_RELOAD_U"},       {120, 1227, L"BTN_RELOAD_U_125"},
        {144, 2227, L"BTN_RELOAD_U_150"}, {168, 3227, L"BTN_RELOAD_U_175"},
        {192, 4227, L"BTN_RELOAD_U_200"},
    };
    for (const auto& c : cases) {
        const DisplayScale scale = DisplayScale::ForDpi(c.dpi);
        EXPECT_EQ(scale.PictureId(IDB_SKIN), c.skin_id) << c.dpi;
        EXPECT_EQ(scale.PictureName(L"BTN_RELOAD_U"), c.button) << c.dpi;
    }
}

// The layout at each standard DPI, worked out by hand from the 96-DPI values.
TEST(ScaledLayout, PlacesEveryPartWhereThePicturesForTheScaleFit) {
    const struct {
        int dpi;
        PixelPoint battery;
        PixelPoint detail_button;
        PixelPoint standby_button;
        PixelSize skin;
        PixelSize panel;
        int last_panel_line;
        int font_height;  // the battery percentage's
        int battery_text_y[2];
        PixelPoint notice_text;
    } cases[] = {
        {96, {173, 65}, {275, 143}, {20, 290}, {320, 180}, {320, 140}, 89, 30, {14, 15}, {2, 3}},
        {120, {216, 81}, {344, 179}, {25, 363}, {400, 225}, {400, 175}, 111, 38, {18, 19}, {3, 4}},
        {144, {260, 98}, {413, 215}, {30, 435}, {480, 270}, {480, 210}, 134, 45, {21, 23}, {3, 5}},
        {168, {303, 114}, {481, 250}, {35, 508}, {560, 315}, {560, 245}, 156, 53, {25, 27}, {4, 5}},
        {192, {346, 130}, {550, 286}, {40, 580}, {640, 360}, {640, 280}, 178, 60, {28, 30}, {4, 6}},
    };
    auto at = [](int id) {
        return std::find_if(kMainControlPlacements.begin(), kMainControlPlacements.end(),
                            [id](const ControlPlacement& p) { return p.control_id == id; })
            ->position;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const DisplayScale scale = DisplayScale::ForDpi(c.dpi);
        EXPECT_EQ(scale(at(IDC_BATTERY)), c.battery);
        EXPECT_EQ(scale(at(IDC_DETAIL)), c.detail_button);
        EXPECT_EQ(scale(at(IDC_STANDBY)), c.standby_button);
        const PixelSize skin = scale(PixelSize{320, 180});
        const PixelSize panel = scale(PixelSize{320, 140});
        EXPECT_EQ(skin, c.skin);
        EXPECT_EQ(panel, c.panel);
        EXPECT_EQ(scale(kPanelTextY.back()), c.last_panel_line);
        EXPECT_EQ(Scaled(kBatteryFont, scale).height, c.font_height);
        const auto passes = BatteryTextPasses(scale(120), scale(45), scale);
        EXPECT_EQ(passes[0].y, c.battery_text_y[0]);
        EXPECT_EQ(passes[1].y, c.battery_text_y[1]);
        const TextPass notice = Scaled(kNoticeTextPass, scale);
        EXPECT_EQ((PixelPoint{notice.x, notice.y}), c.notice_text);

        // The window's client area with the panel closed and open, from the scaled pictures.
        const PixelSize strip = scale(PixelSize{320, 20});
        EXPECT_EQ(SkinnedWindowSize({0, 0}, {0, 0}, skin, strip), scale(PixelSize{320, 200}));
        const PanelToggle opened = TogglePanel(false, false, skin, panel);
        EXPECT_EQ(opened.notice_position.y + strip.height, scale(340));
    }
}

TEST(ScaledLayout, VersionDetailMarginsGrowWithTheDialog) {
    // 150 %: margins of 15, 60 at the bottom for the text, the button 8 above the bottom.
    const DetailLayout layout =
        LayOutVersionDetail({0, 0, 762, 621}, {112, 35}, DisplayScale::ForDpi(144));
    EXPECT_EQ(layout.text, (PixelRect{15, 15, 747, 561}));
    EXPECT_EQ(layout.button, (PixelRect{325, 578, 437, 613}));
}

TEST(DpiChange, ReloadsOnlyWhenThePictureScaleChanges) {
    const DisplayScale at_100;
    const DpiChange to_150 = PlanDpiChange(at_100, 144, {1920, 40, 2409, 389});
    EXPECT_EQ(to_150.scale.percent(), 150);
    EXPECT_TRUE(to_150.reload_pictures);
    EXPECT_EQ(to_150.position, (PixelPoint{1920, 40}));

    // 110 % and 120 % both draw at 125 %: only the window moves.
    const DpiChange within = PlanDpiChange(DisplayScale::ForDpi(106), 120, {-800, 0, -380, 330});
    EXPECT_FALSE(within.reload_pictures);
    EXPECT_EQ(within.scale.percent(), 125);
    EXPECT_EQ(within.position, (PixelPoint{-800, 0}));

    EXPECT_TRUE(PlanDpiChange(to_150.scale, 96, {0, 0, 326, 248}).reload_pictures);
}

}  // namespace
}  // namespace quirn
