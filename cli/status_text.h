// status_text.h: the readable summary quirnctl prints for a status read without --json.
#pragma once

#include <string>

#include "common/router_status.h"

namespace quirnctl {

// A short phrase for a RouterResult, e.g. "the page was not understood".
const char* ResultText(int result);

// One "name: value" line per item, the numbers explained in words; only the result line when
// `status` is null. Ends in a line break.
std::string StatusSummary(int result, const lumora::RouterStatus* status);

// The same on one line, what the window shows at a glance: battery, radio, connection, WAN
// address, the month's data volume and a firmware offer; only the result when `status` is null.
// Ends in a line break.
std::string StatusLine(int result, const lumora::RouterStatus* status);

}  // namespace quirnctl
