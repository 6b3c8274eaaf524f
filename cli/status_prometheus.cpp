// status_prometheus.cpp: maps a RouterStatus to Prometheus gauges.
#include "cli/status_prometheus.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "cli/data_volume.h"
#include "cli/status_json.h"
#include "common/page/status_page.h"

namespace quirnctl {

using lumora::FieldText;

namespace {

void Metric(std::string& out, const char* name, const char* help, const std::string& labels,
            const std::string& value) {
    out += std::string("# HELP ") + name + " " + help + "\n";
    out += std::string("# TYPE ") + name + " gauge\n";
    out += name + labels + " " + value + "\n";
}

void Metric(std::string& out, const char* name, const char* help, long long value) {
    Metric(out, name, help, "", std::to_string(value));
}

// The label value for a connection code; nullptr for "not reported" and for codes no page text
// gives.
const char* ConnectionLabel(int code) {
    switch (code) {
        case 0:
            return "none";
        case 1:
            return "wlan";
        case 3:
            return "lte";
        case 4:
            return "3g";
        case -1:
            return "unrecognised";  // the router wrote a connection text this program does not know
        default:
            return nullptr;
    }
}

// The reach as a ratio, when its text is what the router writes: a decimal number and "%"
// ("17.9%"). The record's number alone cannot tell an unreadable text (read as 0) from 0 %.
std::optional<double> ReachRatio(const lumora::RouterStatus& s) {
    const std::string_view text = FieldText(s.limit_reach_text);
    const std::size_t number = text.find_first_not_of("0123456789.");
    const std::string_view digits = text.substr(0, number);
    const bool plain_number = !digits.empty() && digits.front() != '.' &&
                              digits.find('.') == digits.rfind('.');  // at most one point
    if (!plain_number || number == std::string_view::npos || text.substr(number) != "%" ||
        !std::isfinite(s.limit_reach) || s.limit_reach < 0.0f) {
        return std::nullopt;
    }
    return s.limit_reach / 100.0;
}

// A ratio to the float's own precision: 17.9 % is 0.179, not 0.17899999618530273.
std::string RatioText(double ratio) {
    char buffer[32];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, ratio, std::chars_format::general, 7);
    return error == std::errc() ? std::string(buffer, end) : "NaN";
}

}  // namespace

std::string PrometheusLabelValue(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        std::size_t length = Utf8CharLength(text);
        const char c = text.front();
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            length = 1;
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string StatusPrometheus(int result, const lumora::RouterStatus* status) {
    std::string out;
    Metric(out, "quirn_up", "1 when the router's status was read, 0 when the read failed.",
           status != nullptr ? 1 : 0);
    Metric(out, "quirn_poll_result",
           "Result of the status read: 0 success, 1 to 7 the failure's code.", result);
    if (status == nullptr) {
        return out;
    }
    const lumora::RouterStatus& s = *status;

    // battery_percent is -1 while charging (then the router gives no charge figure) and -2 when
    // the page has no battery row; battery_level follows it, or comes from its own row.
    if (s.battery_percent >= 0) {
        Metric(out, "quirn_battery_percent", "Battery charge in percent.", s.battery_percent);
    }
    if (s.battery_level >= 0) {
        Metric(out, "quirn_battery_level", "Battery charge in tenths, 0 to 10.", s.battery_level);
    }
    if (s.battery_percent >= -1) {
        Metric(out, "quirn_battery_charging", "1 while the battery is charging, else 0.",
               s.battery_percent == -1 ? 1 : 0);
    }
    // -1 stands both for out of range and for no radio row, so only a reading is written.
    if (s.radio_level >= 0) {
        Metric(out, "quirn_radio_level",
               "Radio strength: 6 very strong, 4 strong, 2 medium, 0 weak.", s.radio_level);
    }
    if (const char* connection = ConnectionLabel(s.connection_code)) {
        Metric(out, "quirn_connection_info",
               "The Internet connection (none, wlan, lte, 3g or unrecognised) and the router's "
               "text for it.",
               std::string("{connection=\"") + connection + "\",text=\"" +
                   PrometheusLabelValue(FieldText(s.connection_text)) + "\"}",
               "1");
    }
    if (const auto limit = DataVolumeBytes(FieldText(s.volume_limit))) {
        Metric(out, "quirn_data_volume_limit_bytes",
               "The data volume limit set on the router (1 GB read as 2^30 bytes).", "",
               std::to_string(*limit));
    }
    if (const auto used = DataVolumeBytes(FieldText(s.volume_month))) {
        Metric(out, "quirn_data_volume_used_bytes",
               "Data volume of the current month as the router counts it (1 GB read as 2^30 "
               "bytes).",
               "", std::to_string(*used));
    }
    if (const auto ratio = ReachRatio(s)) {
        Metric(out, "quirn_data_volume_limit_reached_ratio",
               "How far the month's data volume has reached the limit, as the router reports "
               "it (1 is the limit).",
               "", RatioText(*ratio));
    }
    Metric(out, "quirn_firmware_update_available",
           "1 when the router offers newer firmware, else 0.", s.firmware_notice == 1 ? 1 : 0);
    if (!FieldText(s.firmware_version).empty()) {
        Metric(out, "quirn_firmware_info", "The router's firmware version.",
               "{version=\"" + PrometheusLabelValue(FieldText(s.firmware_version)) + "\"}", "1");
    }
    return out;
}

}  // namespace quirnctl
