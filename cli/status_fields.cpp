// status_fields.cpp: the RouterStatus members as named, printable fields.
#include "cli/status_fields.h"

#include <charconv>
#include <cmath>

#include "common/page/status_page.h"

namespace quirnctl {

using lumora::FieldText;
using lumora::RouterStatus;

namespace {

std::string Shortest(float value) {
    if (!std::isfinite(value)) {
        return "";
    }
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : "";
}

#define QUIRN_TEXT_FIELD(member)                                                          \
    StatusField {                                                                         \
        #member, FieldKind::kText,                                                        \
            [](const RouterStatus& s) { return std::string(FieldText(s.member)); }         \
    }
#define QUIRN_INTEGER_FIELD(member)                                                        \
    StatusField {                                                                          \
        #member, FieldKind::kInteger,                                                      \
            [](const RouterStatus& s) { return std::to_string(s.member); }                 \
    }

constexpr StatusField kFields[] = {
    QUIRN_TEXT_FIELD(firmware_version),
    QUIRN_INTEGER_FIELD(firmware_notice),
    QUIRN_INTEGER_FIELD(battery_level),
    QUIRN_INTEGER_FIELD(battery_percent),
    QUIRN_INTEGER_FIELD(connection_code),
    QUIRN_TEXT_FIELD(connection_text),
    QUIRN_INTEGER_FIELD(radio_level),
    QUIRN_TEXT_FIELD(wan_address),
    QUIRN_TEXT_FIELD(bt_name),
    QUIRN_TEXT_FIELD(bt_address),
    QUIRN_TEXT_FIELD(domain_name),
    QUIRN_TEXT_FIELD(wifi_wan_link),
    QUIRN_TEXT_FIELD(volume_limit),
    QUIRN_TEXT_FIELD(volume_month),
    QUIRN_TEXT_FIELD(limit_reach_text),
    {"limit_reach", FieldKind::kNumber,
     [](const RouterStatus& s) { return Shortest(s.limit_reach); }},
    QUIRN_INTEGER_FIELD(spare),
};

#undef QUIRN_TEXT_FIELD
#undef QUIRN_INTEGER_FIELD

}  // namespace

std::span<const StatusField> StatusFields() {
    return kFields;
}

const StatusField* FindStatusField(std::string_view name) {
    for (const StatusField& field : kFields) {
        if (name == field.name) {
            return &field;
        }
    }
    return nullptr;
}

std::string OnOneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return out;
}

}  // namespace quirnctl
