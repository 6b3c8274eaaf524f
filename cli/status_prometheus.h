// status_prometheus.h: a status read in the Prometheus text exposition format (0.0.4), for a
// node exporter's text-file collector or any scraper of such files.
#pragma once

#include <string>
#include <string_view>

#include "common/router_status.h"

namespace quirnctl {

// `text` as the inside of a label value: backslash, double quote and line feed escaped, bytes
// that are not UTF-8 replaced by U+FFFD (the format's texts are UTF-8).
std::string PrometheusLabelValue(std::string_view text);

// Every metric as "# HELP", "# TYPE" and its sample line, all gauges. quirn_up is 1 when the read
// succeeded; a failed read (no record) gives only quirn_up 0 and quirn_poll_result. Of the
// record, only what the router reported is written: a marker value (-1, -2), an empty text or a
// volume text that does not read as bytes leaves its metric out rather than showing a number
// that nobody measured.
std::string StatusPrometheus(int result, const lumora::RouterStatus* status);

}  // namespace quirnctl
