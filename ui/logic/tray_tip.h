// tray_tip.h: the notification-area icon's tooltip and picture for the window's state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/display/battery.h"
#include "ui/display/radio_antenna.h"

namespace quirn {

// The tip field holds 127 characters and its terminator.
inline constexpr size_t kTrayTipMaxLength = 127;

struct TrayTipInputs {
    bool stale = false;         // the state machine's `stale` flag
    bool status_valid = false;  // a status poll has succeeded
    bool connection_lost = false;
    int32_t state = 0;             // the state machine's state
    std::wstring connection_text;  // of the shown status
    AntennaInputs antenna;
    BatteryInputs battery;
    std::optional<int> battery_icon;  // the battery model's tray icon, if it names one
};

struct TrayTip {
    std::wstring text;
    int icon_id;
    friend bool operator==(const TrayTip&, const TrayTip&) = default;
};

// Without a trustworthy status the failure text and the application icon; while entering
// standby "休止状態中"; otherwise the connection, the signal strength (only while connected) and
// the battery, with the battery's icon when it names one. The text is cut to fit the tip.
TrayTip ComposeTrayTip(const TrayTipInputs& inputs);

// String id of the strength word for antenna level `level`; 0 (no word) outside 0 to 6.
int SignalStrengthWordId(int32_t level);

// `text` cut to the tip's 127 characters, never between the halves of a surrogate pair.
std::wstring CutToTrayTip(const std::wstring& text);

}  // namespace quirn
