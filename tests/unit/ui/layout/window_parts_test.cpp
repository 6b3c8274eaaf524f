// The window's small platform-free parts: the bitmap button's picture choice, the version detail
// dialog's layout and the conversion of the router's status into the window's copy.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/layout/button_picture.h"
#include "ui/layout/version_detail_layout.h"
#include "ui/logic/operation_times.h"
#include "ui/layout/pixel_geometry.h"
#include "ui/logic/poll_exchange.h"

namespace quirn {
namespace {

TEST(ButtonPicture, PressedBeatsFocusBeatsDisabled) {
    const ButtonPictureSet all{true, true, true};
    struct Case {
        ButtonState state;
        ButtonPicture expected;
    };
    const Case cases[] = {
        {{false, false, false}, ButtonPicture::kUp},
        {{true, false, false}, ButtonPicture::kDown},
        {{true, true, false}, ButtonPicture::kDown},
        {{false, true, false}, ButtonPicture::kFocused},
        {{false, false, true}, ButtonPicture::kDisabled},
        {{false, true, true}, ButtonPicture::kFocused},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseButtonPicture(c.state, all), c.expected)
            << c.state.pressed << c.state.focused << c.state.disabled;
    }
}

TEST(ButtonPicture, MissingPicturesFallBackToUp) {
    const ButtonPictureSet only_up{};
    EXPECT_EQ(ChooseButtonPicture({true, true, false}, only_up), ButtonPicture::kUp);
    EXPECT_EQ(ChooseButtonPicture({false, false, true}, only_up), ButtonPicture::kUp);
    // Pressed without a down picture still prefers the focused one.
    EXPECT_EQ(ChooseButtonPicture({true, true, false}, {false, true, false}),
              ButtonPicture::kFocused);
}

TEST(DetailLayout, TextFillsTheClientAreaAndTheButtonSitsCentredBelow) {
    const DetailLayout layout = LayOutVersionDetail({0, 0, 508, 414}, {75, 23});
    // 508 / 2 - 75 / 2 = 217; the width is rounded down to 74.
    EXPECT_EQ(layout.button, (PixelRect{217, 386, 291, 409}));
    EXPECT_EQ(layout.text, (PixelRect{10, 10, 498, 374}));
}

TEST(DetailLayout, ATinyClientAreaGivesEmptyOrNegativeSizesWithoutSurprises) {
    const DetailLayout layout = LayOutVersionDetail({0, 0, 10, 30}, {50, 14});
    EXPECT_EQ(layout.button, (PixelRect{-20, 11, 30, 25}));
    EXPECT_EQ(layout.text.width(), -10);
    EXPECT_EQ(layout.text.height(), -20);
}

TEST(CentredPosition, CentresOverTheOwnerAndStaysOnTheWorkArea) {
    const PixelRect work{0, 0, 1024, 738};
    // Over a window in the middle of the screen.
    EXPECT_EQ(CentredPosition({352, 248, 678, 492}, {380, 120}, work), (PixelPoint{325, 310}));
    // Over the work area itself.
    EXPECT_EQ(CentredPosition(work, {380, 120}, work), (PixelPoint{322, 309}));
    // An owner at the screen's edge: pulled back inside.
    EXPECT_EQ(CentredPosition({900, 600, 1226, 844}, {380, 120}, work), (PixelPoint{644, 618}));
    EXPECT_EQ(CentredPosition({-300, -200, 26, 44}, {380, 120}, work), (PixelPoint{0, 0}));
    // Larger than the work area: its top-left corner stays visible.
    EXPECT_EQ(CentredPosition(work, {1200, 900}, work), (PixelPoint{0, 0}));
    // A work area that does not start at the origin (a second monitor on the left).
    EXPECT_EQ(CentredPosition({-1280, 0, 0, 1024}, {400, 200}, {-1280, 0, 0, 984}),
              (PixelPoint{-840, 412}));
}

lumora::RouterStatus SampleStatus() {
    lumora::RouterStatus status = lumora::FreshRouterStatus();
    std::strcpy(status.firmware_version, "1.2.3");
    status.firmware_notice = 1;
    status.battery_level = 7;
    status.battery_percent = 73;
    status.connection_code = 3;
    std::strcpy(status.connection_text, "LTE\xE6\x8E\xA5\xE7\xB6\x9A");  // "LTE接続"
    status.radio_level = 4;
    std::strcpy(status.wan_address, "10.0.0.1");
    std::strcpy(status.wifi_wan_link, "\xE3\x81\x99\xE3\x82\x8B");  // "する"
    status.limit_reach = 42.5f;
    status.spare = 9;
    return status;
}

TEST(DisplayStatus, TextsBecomeWideAndNumbersStay) {
    const DisplayStatus shown = ToDisplayStatus(SampleStatus());
    EXPECT_EQ(shown.firmware_version, L"1.2.3");
    EXPECT_EQ(shown.connection_text, L"LTE\u63A5\u7D9A");
    EXPECT_EQ(shown.wifi_wan_link, L"\u3059\u308B");
    EXPECT_EQ(shown.wan_address, L"10.0.0.1");
    EXPECT_EQ(shown.bt_name, L"");
    EXPECT_EQ(shown.firmware_notice, 1);
    EXPECT_EQ(shown.battery_level, 7);
    EXPECT_EQ(shown.battery_percent, 73);
    EXPECT_EQ(shown.connection_code, 3);
    EXPECT_EQ(shown.radio_level, 4);
    EXPECT_EQ(shown.limit_reach, 42.5f);
    EXPECT_EQ(shown.spare, 9);
}

TEST(DisplayStatus, AFullFieldIsReadToItsEndAndBadTextIsDropped) {
    lumora::RouterStatus status = SampleStatus();
    std::memset(status.bt_name, 'b', sizeof(status.bt_name));  // no terminator
    std::strcpy(status.domain_name, "\xFF\xFE broken");
    const DisplayStatus shown = ToDisplayStatus(status);
    EXPECT_EQ(shown.bt_name, std::wstring(sizeof(status.bt_name), L'b'));
    EXPECT_EQ(shown.domain_name, L"");
    EXPECT_EQ(shown.bt_address, L"");  // the field after the full one is read on its own
}

TEST(OperationTimes, StartFailingWithEveryStampAtConstruction) {
    const OperationTimes times(1700000000);
    for (int64_t stamp : {times.pollStarted, times.rebootStarted, times.standbyStarted,
                          times.switchStarted, times.checkStarted, times.failingSince}) {
        EXPECT_EQ(stamp, 1700000000);
    }
    EXPECT_TRUE(times.failing);
    EXPECT_FALSE(times.rebootPending || times.switchPending || times.checkPending);
    EXPECT_EQ(times.standbyPhase, 0);

    const auto retries = MakeCommandRetries();
    ASSERT_EQ(retries.size(), 3u);
    for (int32_t kind : {kRequestSwitch, kRequestReboot, kRequestStandby}) {
        EXPECT_FALSE(retries.at(kind).retried || retries.at(kind).pending);
    }
}

}  // namespace
}  // namespace quirn
