// data_volume.cpp: one rule from the router's volume texts to bytes.
#include "cli/data_volume.h"

#include <charconv>
#include <cmath>

namespace quirnctl {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The unit's size in bytes, or 0 when `unit` is none of the router's units.
double UnitBytes(std::string_view unit) {
    constexpr std::string_view kUnits[] = {"B", "KB", "MB", "GB", "TB"};
    double bytes = 1.0;
    for (std::string_view known : kUnits) {
        if (unit == known) {
            return bytes;
        }
        bytes *= 1024.0;
    }
    return 0.0;
}

}  // namespace

std::optional<std::uint64_t> DataVolumeBytes(std::string_view text) {
    // Digits, then optionally "." and digits: checked here, so that from_chars sees no sign,
    // exponent or "inf" and the reading does not depend on a locale.
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    if (i == 0) {
        return std::nullopt;
    }
    if (i < text.size() && text[i] == '.') {
        const std::size_t point = i++;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        if (i == point + 1) {
            return std::nullopt;  // "2.GB": a point with no digits after it
        }
    }
    double number = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + i, number, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + i) {
        return std::nullopt;
    }
    if (i < text.size() && text[i] == ' ') {
        ++i;
    }
    const double unit = UnitBytes(text.substr(i));
    if (unit == 0.0) {
        return std::nullopt;
    }
    const double bytes = std::round(number * unit);
    constexpr double kExactLimit = 9007199254740992.0;  // 2^53
    if (!(bytes <= kExactLimit)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(bytes);
}

}  // namespace quirnctl
