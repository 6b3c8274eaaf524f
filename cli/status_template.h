// status_template.h: --format TEMPLATE, a line of text with the status record's fields filled in,
// e.g. "{battery_percent}% {radio_level}".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/status_fields.h"
#include "common/router_status.h"

namespace quirnctl {

class StatusTemplate {
  public:
    // Reads `format`: "{name}" is the field of that name (a RouterStatus field as the JSON output
    // names it, or "result"), "{{" and "}}" are a brace, anything else is printed as it stands.
    // Throws UsageError for an unknown field, a "{" without its "}" or a lone "}", so that a
    // script's mistake shows before anything is asked of the router.
    static StatusTemplate Parse(std::string_view format);

    // The filled-in line, ending in a line break. Fields print as the JSON output shows them,
    // texts unquoted, with control characters as spaces so that the line stays one; without a
    // record (a read that failed) the status fields are empty and only the result is filled in.
    std::string Render(int result, const lumora::RouterStatus* status) const;

  private:
    struct Piece {
        std::string literal;               // printed as it is, before the field
        const StatusField* field;          // the field after the literal, or nullptr
        bool result;                       // the field is "result"
    };
    std::vector<Piece> pieces_;
};

}  // namespace quirnctl
