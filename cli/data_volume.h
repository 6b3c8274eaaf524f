// data_volume.h: the router's data-volume texts ("7GB", "2.35GB", "512MB") as byte counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quirnctl {

// Reads a data-volume text as the router writes it: a decimal number (digits, optionally a "."
// and more digits), an optional space, and one of the units B, KB, MB, GB, TB, upper case as the
// router prints them. The units step by 1024 (KB = 2^10 bytes, GB = 2^30): the router is an
// embedded device that divides its own byte counters by 1024 per unit, and it shows the limit
// the user sets in the same units and digits as the month's count, so one rule reads both.
// The result is rounded to the nearest byte. Anything else ("", "設定なし", "7 GiB", "-1GB", a
// number past 2^53 bytes, where a double stops counting single bytes) is not a volume: nullopt.
std::optional<std::uint64_t> DataVolumeBytes(std::string_view text);

}  // namespace quirnctl
