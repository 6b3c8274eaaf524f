// router_status.h: the status record of one page fetch, as the router reported it.
#pragma once

#include <cstdint>

namespace lumora {

// Plain record; texts are UTF-8, NUL-terminated when shorter than their capacity.
struct RouterStatus {
    char firmware_version[32];
    int32_t firmware_notice;  // 1 when newer firmware is offered
    int32_t battery_level;    // tenths 0..10; -1 charging; -2 not reported
    int32_t battery_percent;  // 0..100; -1 charging; -2 not reported; -3 unreadable
    int32_t connection_code;  // 0 none, 1 wireless LAN, 3 LTE, 4 3G; -1 unrecognised; -2 not reported
    char connection_text[64];
    int32_t radio_level;  // 6, 4, 2, 0; -1 out of range or not reported; -2 unrecognised
    char wan_address[32];
    char bt_name[32];
    char bt_address[32];
    char domain_name[64];
    char wifi_wan_link[32];  // "する", "しない" or empty
    char volume_limit[32];
    char volume_month[32];
    char limit_reach_text[32];
    float limit_reach;  // limit_reach_text as a number; -1.0 when that text is empty
    int32_t spare;
};
static_assert(sizeof(RouterStatus) == 412, "the record's layout is shared with the window side");

// A record as a fetch starts it: all zero except the "not reported" markers.
RouterStatus FreshRouterStatus();

}  // namespace lumora
