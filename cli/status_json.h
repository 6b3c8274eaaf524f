// status_json.h: the JSON object quirnctl prints for a status read.
#pragma once

#include <string>
#include <string_view>

#include "common/router_status.h"

namespace quirnctl {

// Length of the well-formed UTF-8 character at the start of `text` (not empty), or 0 when the
// bytes there start no character.
std::size_t Utf8CharLength(std::string_view text);

// `text` as a JSON string literal, quotes included. Control characters are escaped, and bytes
// that are not UTF-8 become U+FFFD, so the result is always valid JSON.
std::string JsonString(std::string_view text);

enum class JsonLayout {
    kIndented,  // one key a line, for people and for `status`
    kOneLine,   // the whole object on one line, for a stream of objects (`watch`)
};

// {"result": N, "status": {...}, "has_session_token": B}, ending in a line break. "status"
// holds the record's fields under their own names, in record order, or null when `status` is
// null (a read that failed has no record). Texts are read only up to their
// field's capacity. Whether the library holds a session token is shown, never the token: it
// lets commands through, so it stays out of terminals and logs like the passwords.
std::string StatusJson(int result, const lumora::RouterStatus* status, bool has_session_token,
                       JsonLayout layout = JsonLayout::kIndented);

}  // namespace quirnctl
