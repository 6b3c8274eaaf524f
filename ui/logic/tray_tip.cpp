// tray_tip.cpp: composing the notification-area tooltip.
#include "ui/logic/tray_tip.h"

#include "res/resource.h"
#include "res/strings.h"
#include "state/app_state.h"
#include "ui/logic/display_texts.h"

namespace quirn {

int SignalStrengthWordId(int32_t level) {
    switch (level) {
        case 0:
            return kSignalWeakText;
        case 1:
        case 2:
            return kSignalMediumText;
        case 3:
        case 4:
            return kSignalStrongText;
        case 5:
        case 6:
            return kSignalVeryStrongText;
        default:
            return 0;
    }
}

std::wstring CutToTrayTip(const std::wstring& text) {
    if (text.size() <= kTrayTipMaxLength) {
        return text;
    }
    size_t length = kTrayTipMaxLength;
    // Where wide text is UTF-16, keep a surrogate pair whole rather than half of it.
    if constexpr (sizeof(wchar_t) == 2) {
        const wchar_t last = text[length - 1];
        if (last >= 0xD800 && last <= 0xDBFF) {
            --length;
        }
    }
    return text.substr(0, length);
}

TrayTip ComposeTrayTip(const TrayTipInputs& inputs) {
    if (inputs.stale || !inputs.status_valid || inputs.connection_lost) {
        return {StringText(kNoticeFetchFailedText), IDI_APP_SMALL};
    }
    if (inputs.state == EnteringStandby) {
        return {StringText(kNoticeStandbyText), IDI_APP_SMALL};
    }
    std::wstring text = FormatString(kTipConnectionText, inputs.connection_text);
    if (inputs.antenna.connected) {
        text +=
            FormatString(kTipSignalText, StringText(SignalStrengthWordId(inputs.antenna.level)));
    }
    text +=
        FormatString(kTipBatteryText,
                     inputs.battery.charging
                         ? std::wstring(StringText(kChargingText))
                         : FormatString(kTipPercentText, std::to_wstring(inputs.battery.percent)));
    return {CutToTrayTip(text), inputs.battery_icon.value_or(IDI_APP_SMALL)};
}

}  // namespace quirn
