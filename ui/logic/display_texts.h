// display_texts.h: the detail panel's six lines and the string-table texts with a value put in.
#pragma once

#include <array>
#include <string>

#include "ui/logic/poll_exchange.h"

namespace quirn {

// What a line shows instead of a value while the status may not be trusted.
inline constexpr wchar_t kPlaceholder[] = L"-";

// The text of string `string_id` with its first "%s" or "%d" replaced by `value`. The value is
// put in as it is: a "%" in it is never taken as a format. A text without either is returned
// unchanged.
std::wstring FormatString(int string_id, const std::wstring& value);

// The panel lines for status `status`, in drawing order: WAN address, firmware version, the
// data-volume heading, the limit, this month's volume and how near the limit it is. With
// `placeholders` every value is "-".
std::array<std::wstring, 6> MakePanelTexts(const DisplayStatus& status, bool placeholders);

}  // namespace quirn
