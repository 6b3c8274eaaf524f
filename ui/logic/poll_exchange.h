// poll_exchange.h: the window's copy of the router status and the record a worker run takes and
// gives back.
//
// The main window holds two exchanges: the one it shows (and whose request kind the next worker
// run performs) and the worker's working copy. Plain values; whoever shares them guards them.
#pragma once

#include <cstdint>
#include <string>

#include "common/router_status.h"

namespace quirn {

// The router status in wide text, as the window shows it. A new one has empty texts and zeros.
struct DisplayStatus {
    std::wstring firmware_version;
    int32_t firmware_notice = 0;
    int32_t battery_level = 0;
    int32_t battery_percent = 0;
    int32_t connection_code = 0;
    std::wstring connection_text;
    int32_t radio_level = 0;
    std::wstring wan_address;
    std::wstring bt_name;
    std::wstring bt_address;
    std::wstring domain_name;
    std::wstring wifi_wan_link;
    std::wstring volume_limit;
    std::wstring volume_month;
    std::wstring limit_reach_text;
    float limit_reach = 0.0f;
    int32_t spare = 0;

    friend bool operator==(const DisplayStatus&, const DisplayStatus&) = default;
};

// The request kinds of a worker run.
enum RequestKind : int32_t {
    kRequestStatusPoll = 0,
    kRequestSwitch = 1,
    kRequestReboot = 2,
    kRequestStandby = 3,
    kRequestConnectionCheck = 4,
};

struct PollExchange {
    int32_t request_kind = kRequestStatusPoll;
    DisplayStatus status;
    int32_t result = 0;  // RouterResult of the run's operation; 0 success
};

// The record's texts converted from UTF-8, its numbers copied. A text is read up to its first NUL
// or the end of its field; a text that is not valid UTF-8 becomes empty rather than half shown.
DisplayStatus ToDisplayStatus(const lumora::RouterStatus& status);

}  // namespace quirn
