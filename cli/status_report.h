// status_report.h: prints the outcome of a status read the way every quirnctl command does.
#pragma once

#include <optional>

#include "cli/command.h"
#include "cli/status_template.h"
#include "common/router_status.h"

namespace quirnctl {

// How a status read is printed: --format text (the default), json (also --json), prometheus,
// or a template (any FORMAT with a "{").
struct StatusFormat {
    enum class Kind { kText, kJson, kPrometheus, kTemplate };
    Kind kind = Kind::kText;
    std::optional<StatusTemplate> line;  // for kTemplate
};

// The format that --format and --json ask for. Throws UsageError for both together, an unknown
// format name or a template that does not read, so that the mistake shows before any request.
StatusFormat ReadStatusFormat(const Arguments& parsed);

// How much room one outcome takes: as `status` and `parse` print it (text on several lines, JSON
// indented), or as `watch` does (text and JSON on one line each; a template is one line anyway,
// the Prometheus exposition always a whole block).
enum class OutcomeLayout { kBlock, kLine };

// The outcome in `format`. On success the record is shown with the character references of its
// connection text decoded, as the window shows it; on failure no record is shown.
std::string FormatOutcome(int result, const lumora::RouterStatus& status,
                          const StatusFormat& format, OutcomeLayout layout);

// Writes the outcome to standard output as a block and returns `result` as the exit status.
int ReportStatus(int result, const lumora::RouterStatus& status, const StatusFormat& format);

}  // namespace quirnctl
