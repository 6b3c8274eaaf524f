// The notification-area tooltip and icon, and the texts with a value put in.
#include "ui/logic/tray_tip.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "res/strings.h"
#include "state/app_state.h"
#include "ui/logic/display_texts.h"

namespace quirn {
namespace {

TrayTipInputs Connected() {
    TrayTipInputs inputs;
    inputs.status_valid = true;
    inputs.state = Ready;
    inputs.connection_text = L"LTE";
    inputs.antenna = AntennaInputs{4, true, false};
    inputs.battery = BatteryInputs{8, 80, false, false, false};
    inputs.battery_icon = IDI_BATTERY_8;
    return inputs;
}

TEST(TrayTip, WithoutATrustworthyStatusTheFailureTextAndApplicationIcon) {
    const std::wstring failed = L"情報の取得に失敗しました。";
    TrayTipInputs stale = Connected();
    stale.stale = true;
    TrayTipInputs never = Connected();
    never.status_valid = false;
    TrayTipInputs lost = Connected();
    lost.connection_lost = true;
    lost.state = EnteringStandby;  // lost wins over standby
    for (const TrayTipInputs& inputs : {stale, never, lost}) {
        EXPECT_EQ(ComposeTrayTip(inputs), (TrayTip{failed, IDI_APP_SMALL}));
    }
    TrayTipInputs standby = Connected();
    standby.state = EnteringStandby;
    EXPECT_EQ(ComposeTrayTip(standby), (TrayTip{L"休止状態中", IDI_APP_SMALL}));
}

TEST(TrayTip, ConnectionStrengthAndBattery) {
    struct Case {
        bool connected;
        int32_t level;
        bool charging;
        int32_t percent;
        std::optional<int> icon;
        TrayTip expected;
    };
    const Case cases[] = {
        {true,
         4,
         false,
         80,
         IDI_BATTERY_8,
         {L"接続状態： LTE\n通信強度： 強い\nバッテリ残量： 80％", IDI_BATTERY_8}},
        {true,
         0,
         false,
         5,
         IDI_BATTERY_0,
         {L"接続状態： LTE\n通信強度： 弱い\nバッテリ残量： 5％", IDI_BATTERY_0}},
        {true,
         6,
         true,
         -1,
         IDI_BATTERY_CHARGING_5,
         {L"接続状態： LTE\n通信強度： 非常に強い\nバッテリ残量： 充電中", IDI_BATTERY_CHARGING_5}},
        {true,
         -1,
         false,
         100,
         IDI_BATTERY_10,
         {L"接続状態： LTE\n通信強度： \nバッテリ残量： 100％", IDI_BATTERY_10}},
        // Not connected: no strength line; no battery icon keeps the application icon.
        {false,
         6,
         false,
         50,
         std::nullopt,
         {L"接続状態： LTE\nバッテリ残量： 50％", IDI_APP_SMALL}},
    };
    for (const Case& c : cases) {
        TrayTipInputs inputs = Connected();
        inputs.antenna.connected = c.connected;
        inputs.antenna.level = c.level;
        inputs.battery.charging = c.charging;
        inputs.battery.percent = c.percent;
        inputs.battery_icon = c.icon;
        EXPECT_EQ(ComposeTrayTip(inputs), c.expected) << c.level << " " << c.percent;
    }
}

TEST(TrayTip, StrengthWords) {
    const std::pair<int32_t, int> words[] = {{-2, 0},
                                             {-1, 0},
                                             {0, kSignalWeakText},
                                             {1, kSignalMediumText},
                                             {2, kSignalMediumText},
                                             {3, kSignalStrongText},
                                             {4, kSignalStrongText},
                                             {5, kSignalVeryStrongText},
                                             {6, kSignalVeryStrongText},
                                             {7, 0}};
    for (const auto& [level, id] : words) {
        EXPECT_EQ(SignalStrengthWordId(level), id) << level;
    }
}

TEST(TrayTip, LongTextIsCutTo127Characters) {
    TrayTipInputs inputs = Connected();
    inputs.connection_text = std::wstring(200, L'x');
    const TrayTip tip = ComposeTrayTip(inputs);
    EXPECT_EQ(tip.text.size(), kTrayTipMaxLength);
    EXPECT_EQ(tip.text, (L"接続状態： " + std::wstring(200, L'x')).substr(0, 127));

    EXPECT_EQ(CutToTrayTip(std::wstring(127, L'a')), std::wstring(127, L'a'));
    if constexpr (sizeof(wchar_t) == 2) {
        // A surrogate pair that would be split at the edge is left out whole.
        const std::wstring text = std::wstring(126, L'a') + L"\xD83D\xDE00" + L"b";
        EXPECT_EQ(CutToTrayTip(text), std::wstring(126, L'a'));
    }
}

TEST(DisplayTexts, ValuesArePutInLiterally) {
    EXPECT_EQ(FormatString(kWanAddressLineText, L"%s%d 100%"), L"WAN側IPアドレス： %s%d 100%");
    EXPECT_EQ(FormatString(kTipPercentText, L"42"), L"42％");
    EXPECT_EQ(FormatString(kVolumeHeadingText, L"x"), L"データ通信量");
}

TEST(DisplayTexts, PanelLinesWithAndWithoutPlaceholders) {
    DisplayStatus status;
    status.wan_address = L"10.0.0.5";
    status.firmware_version = L"1.0";
    status.volume_limit = L"7GB";
    status.volume_month = L"1GB";
    status.limit_reach_text = L"14%";
    const std::array<std::wstring, 6> values = MakePanelTexts(status, false);
    EXPECT_EQ(values[1], L"ファームウェアバージョン： 1.0");
    EXPECT_EQ(values[4], L"　現在のデータ通信量：　1GB");
    const std::array<std::wstring, 6> placeholders = MakePanelTexts(status, true);
    EXPECT_EQ(placeholders[0], L"WAN側IPアドレス： -");
    EXPECT_EQ(placeholders[2], L"データ通信量");
    EXPECT_EQ(placeholders[3], L"　データ通信量の上限設定：　-");
}

}  // namespace
}  // namespace quirn
