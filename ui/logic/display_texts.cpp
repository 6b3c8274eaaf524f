// display_texts.cpp: panel lines and value substitution into string-table texts.
#include "ui/logic/display_texts.h"

#include "res/strings.h"

namespace quirn {

std::wstring FormatString(int string_id, const std::wstring& value) {
    std::wstring text = StringText(string_id);
    for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at + 1)) {
        if (at + 1 < text.size() && (text[at + 1] == L's' || text[at + 1] == L'd')) {
            return text.replace(at, 2, value);
        }
    }
    return text;
}

std::array<std::wstring, 6> MakePanelTexts(const DisplayStatus& status, bool placeholders) {
    auto shown = [&](const std::wstring& value) {
        return placeholders ? std::wstring(kPlaceholder) : value;
    };
    return {
        FormatString(kWanAddressLineText, shown(status.wan_address)),
        FormatString(kFirmwareVersionLineText, shown(status.firmware_version)),
        StringText(kVolumeHeadingText),
        FormatString(kVolumeLimitLineText, shown(status.volume_limit)),
        FormatString(kVolumeMonthLineText, shown(status.volume_month)),
        FormatString(kLimitReachLineText, shown(status.limit_reach_text)),
    };
}

}  // namespace quirn
