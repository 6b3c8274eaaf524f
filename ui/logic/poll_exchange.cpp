// poll_exchange.cpp: conversion of the router's status record into the window's wide copy.
#include "ui/logic/poll_exchange.h"

#include <algorithm>

#include "common/text/code_page.h"

namespace quirn {
namespace {

template <size_t N>
std::wstring WideField(const char (&field)[N]) {
    // A field filled to its capacity has no NUL: read no further than the field.
    const std::string text(field, std::find(field, field + N, '\0'));
    try {
        return lumora::NarrowToWide(text.c_str(), lumora::kCodePageUtf8).value_or(std::wstring());
    } catch (const lumora::ConversionError&) {
        return {};
    }
}

}  // namespace

DisplayStatus ToDisplayStatus(const lumora::RouterStatus& status) {
    DisplayStatus shown;
    shown.firmware_version = WideField(status.firmware_version);
    shown.firmware_notice = status.firmware_notice;
    shown.battery_level = status.battery_level;
    shown.battery_percent = status.battery_percent;
    shown.connection_code = status.connection_code;
    shown.connection_text = WideField(status.connection_text);
    shown.radio_level = status.radio_level;
    shown.wan_address = WideField(status.wan_address);
    shown.bt_name = WideField(status.bt_name);
    shown.bt_address = WideField(status.bt_address);
    shown.domain_name = WideField(status.domain_name);
    shown.wifi_wan_link = WideField(status.wifi_wan_link);
    shown.volume_limit = WideField(status.volume_limit);
    shown.volume_month = WideField(status.volume_month);
    shown.limit_reach_text = WideField(status.limit_reach_text);
    shown.limit_reach = status.limit_reach;
    shown.spare = status.spare;
    return shown;
}

}  // namespace quirn
