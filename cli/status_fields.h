// status_fields.h: the status record's fields by name, in record order: what the JSON output
// writes and what a --format template may name, from one list.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/router_status.h"

namespace quirnctl {

enum class FieldKind {
    kText,     // UTF-8, read only up to the field's capacity
    kInteger,  // decimal
    kNumber,   // shortest decimal that reads back as the same float; empty when not finite
};

struct StatusField {
    const char* name;  // the RouterStatus member's own name
    FieldKind kind;
    // The value as plain text: the text itself, or the number in decimal.
    std::string (*value)(const lumora::RouterStatus& status);
};

// Every RouterStatus field, in record order.
std::span<const StatusField> StatusFields();

// The field called `name`, or nullptr.
const StatusField* FindStatusField(std::string_view name);

// `text` with every control character (a line break or tab a router's text may carry, written
// plainly or as a character reference) made a space, for output that promises one line.
std::string OnOneLine(std::string_view text);

}  // namespace quirnctl
