// status_report.h: prints the outcome of a status read the way every quirnctl command does.
#pragma once

#include "common/router_status.h"

namespace quirnctl {

// Writes the outcome to standard output, as JSON or as a readable summary, and returns `result`
// as the exit status. On success the record is shown with the character references of its
// connection text decoded, as the window shows it; on failure no record is shown.
int ReportStatus(int result, const lumora::RouterStatus& status, bool json);

}  // namespace quirnctl
