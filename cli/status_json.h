// status_json.h: the JSON object quirnctl prints for a status read.
#pragma once

#include <string>
#include <string_view>

#include "common/router_status.h"

namespace quirnctl {

// `text` as a JSON string literal, quotes included. Control characters are escaped, and bytes
// that are not UTF-8 become U+FFFD, so the result is always valid JSON.
std::string JsonString(std::string_view text);

// {"result": N, "status": {...}, "session_token": "..."} on several lines, ending in a line
// break. "status" holds the record's fields under their own names, in record order, or null
// when `status` is null (a read that failed has no record). Texts are read only up to their
// field's capacity; `session_token` is the library's token (empty when none was captured).
std::string StatusJson(int result, const lumora::RouterStatus* status,
                       std::string_view session_token);

}  // namespace quirnctl
