// status_text.cpp: a RouterStatus as lines a person reads.
#include "cli/status_text.h"

#include <charconv>
#include <string_view>

#include "cli/status_fields.h"
#include "common/router_result.h"
#include "common/page/status_page.h"

namespace quirnctl {

using lumora::FieldText;

namespace {

std::string Battery(const lumora::RouterStatus& s) {
    if (s.battery_percent == -1) {
        return "charging";
    }
    if (s.battery_percent == -2) {
        return "not reported";
    }
    return std::to_string(s.battery_percent) + "% (level " + std::to_string(s.battery_level) +
           " of 10)";
}

const char* ConnectionName(int code) {
    switch (code) {
        case 0:
            return "not connected";
        case 1:
            return "wireless LAN";
        case 3:
            return "LTE";
        case 4:
            return "3G";
        case -1:
            return "unrecognised";
        default:
            return "not reported";
    }
}

const char* RadioName(int level) {
    switch (level) {
        case 6:
            return "very strong";
        case 4:
            return "strong";
        case 2:
            return "medium";
        case 0:
            return "weak";
        case -1:
            return "out of range or not reported";
        default:
            return "unrecognised";
    }
}

std::string Number(float value) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : "?";
}

void Line(std::string& out, const char* name, std::string_view value) {
    out += name;
    out += ": ";
    out += value;
    out += '\n';
}

}  // namespace

const char* ResultText(int result) {
    switch (result) {
        case lumora::kSuccess:
            return "success";
        case lumora::kConnectFailed:
            return "the router could not be reached";
        case lumora::kSendFailed:
            return "the request could not be sent";
        case lumora::kReceiveFailed:
            return "the response could not be read";
        case lumora::kAuthRefused:
            return "the router refused the credentials or asks for its first administrator "
                   "password";
        case lumora::kPageNotUnderstood:
            return "the page was not understood";
        case lumora::kUnexpectedResponse:
            return "the router's response was unexpected";
        case lumora::kLocalFailure:
            return "local failure";
        default:
            return "unknown result";
    }
}

std::string StatusSummary(int result, const lumora::RouterStatus* status) {
    std::string out;
    Line(out, "result", std::to_string(result) + " (" + ResultText(result) + ")");
    if (status == nullptr) {
        return out;
    }
    const lumora::RouterStatus& s = *status;
    std::string firmware(FieldText(s.firmware_version));
    if (s.firmware_notice == 1) {
        firmware += " (newer firmware offered)";
    }
    Line(out, "firmware", firmware);
    Line(out, "battery", Battery(s));
    Line(
        out, "connection",
        std::string(FieldText(s.connection_text)) + " [" + ConnectionName(s.connection_code) + "]");
    Line(out, "radio", RadioName(s.radio_level));
    Line(out, "wan address", FieldText(s.wan_address));
    Line(out, "domain name", FieldText(s.domain_name));
    Line(out, "bluetooth name", FieldText(s.bt_name));
    Line(out, "bluetooth address", FieldText(s.bt_address));
    Line(out, "wifi wan link", FieldText(s.wifi_wan_link));
    Line(out, "data volume limit", FieldText(s.volume_limit));
    Line(out, "data volume this month", FieldText(s.volume_month));
    std::string reach(FieldText(s.limit_reach_text));
    if (s.limit_reach >= 0.0f) {
        reach += " (" + Number(s.limit_reach) + ")";
    }
    Line(out, "limit reached", reach);
    return out;
}

std::string StatusLine(int result, const lumora::RouterStatus* status) {
    if (status == nullptr) {
        return "result " + std::to_string(result) + ": " + ResultText(result) + "\n";
    }
    const lumora::RouterStatus& s = *status;
    std::string out = "battery " + Battery(s) + ", radio " + RadioName(s.radio_level) + ", " +
                      ConnectionName(s.connection_code);
    if (std::string_view text = FieldText(s.connection_text); !text.empty()) {
        out += " (" + OnOneLine(text) + ")";
    }
    out += ", wan " + OnOneLine(FieldText(s.wan_address)) + ", data " +
           OnOneLine(FieldText(s.volume_month)) + " of " + OnOneLine(FieldText(s.volume_limit));
    if (s.firmware_notice == 1) {
        out += ", newer firmware offered";
    }
    return out + "\n";
}

}  // namespace quirnctl
