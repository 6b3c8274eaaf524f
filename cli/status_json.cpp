// status_json.cpp: writes a RouterStatus and its result as one JSON object.
#include "cli/status_json.h"

#include <cstdio>

#include "cli/status_fields.h"

namespace quirnctl {

std::size_t Utf8CharLength(std::string_view text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    std::size_t length;
    char32_t code_point;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code_point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code_point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code_point = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code_point = (code_point << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not characters.
    bool overlong = (length == 3 && code_point < 0x800) || (length == 4 && code_point < 0x10000);
    bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
    return overlong || surrogate || code_point > 0x10FFFF ? 0 : length;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    while (!text.empty()) {
        unsigned char byte = static_cast<unsigned char>(text.front());
        std::size_t length = Utf8CharLength(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for a byte that starts no character
            length = 1;
        } else if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    out += '"';
    return out;
}

std::string StatusJson(int result, const lumora::RouterStatus* status, bool has_session_token,
                       JsonLayout layout) {
    const bool indented = layout == JsonLayout::kIndented;
    const char* outer = indented ? "\n  " : " ";      // before a key of the outer object
    const char* inner = indented ? "\n    " : " ";    // before a key of the status object
    const char* inner_end = indented ? "\n  }" : " }";
    std::string out = std::string("{") + outer + "\"result\": " + std::to_string(result) + "," +
                      outer + "\"status\": ";
    if (status == nullptr) {
        out += "null";
    } else {
        out += "{";
        const char* separator = "";
        for (const StatusField& field : StatusFields()) {
            std::string value = field.value(*status);
            if (field.kind == FieldKind::kText) {
                value = JsonString(value);
            } else if (value.empty()) {
                value = "null";  // a number that is not finite has no JSON form
            }
            out += std::string(separator) + inner + "\"" + field.name + "\": " + value;
            separator = ",";
        }
        out += inner_end;
    }
    out += std::string(",") + outer + "\"has_session_token\": " +
           (has_session_token ? "true" : "false") + (indented ? "\n}\n" : " }\n");
    return out;
}

}  // namespace quirnctl
