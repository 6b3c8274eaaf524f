// status_report.cpp: decodes a fetched record for display and prints it.
#include "cli/status_report.h"

#include <cstdio>
#include <string>

#include "cli/status_json.h"
#include "cli/standard_output.h"
#include "cli/status_prometheus.h"
#include "cli/status_text.h"
#include "common/library.h"
#include "common/page/entity_decoder.h"
#include "common/page/status_page.h"
#include "common/router_result.h"

namespace quirnctl {

StatusFormat ReadStatusFormat(const Arguments& parsed) {
    StatusFormat format;
    const std::string* name = parsed.Value("--format");
    if (name == nullptr) {
        format.kind = parsed.Has("--json") ? StatusFormat::Kind::kJson : StatusFormat::Kind::kText;
        return format;
    }
    if (parsed.Has("--json")) {
        throw UsageError("--format and --json exclude each other (--json is --format json)");
    }
    if (name->find('{') != std::string::npos) {
        format.kind = StatusFormat::Kind::kTemplate;
        format.line = StatusTemplate::Parse(*name);
    } else if (*name == "text") {
        format.kind = StatusFormat::Kind::kText;
    } else if (*name == "json") {
        format.kind = StatusFormat::Kind::kJson;
    } else if (*name == "prometheus") {
        format.kind = StatusFormat::Kind::kPrometheus;
    } else {
        throw UsageError("unknown format " + *name +
                         " (text, json, prometheus, or a template with {field})");
    }
    return format;
}

std::string FormatOutcome(int result, const lumora::RouterStatus& status,
                          const StatusFormat& format, OutcomeLayout layout) {
    lumora::RouterStatus shown = status;
    if (result == lumora::kSuccess) {
        lumora::EntityTable::Prepare();
        std::string decoded =
            lumora::EntityTable::Decode(std::string(lumora::FieldText(shown.connection_text)));
        lumora::CopyFieldText(shown.connection_text, sizeof shown.connection_text, decoded.data(),
                              static_cast<int>(decoded.size()));
    }
    const lumora::RouterStatus* record = result == lumora::kSuccess ? &shown : nullptr;
    const bool one_line = layout == OutcomeLayout::kLine;
    switch (format.kind) {
        case StatusFormat::Kind::kJson:
            return StatusJson(result, record, lumora::HoldsSessionToken(),
                              one_line ? JsonLayout::kOneLine : JsonLayout::kIndented);
        case StatusFormat::Kind::kPrometheus:
            return StatusPrometheus(result, record);
        case StatusFormat::Kind::kTemplate:
            return format.line->Render(result, record);
        case StatusFormat::Kind::kText:
            break;
    }
    return one_line ? StatusLine(result, record) : StatusSummary(result, record);
}

int ReportStatus(int result, const lumora::RouterStatus& status, const StatusFormat& format) {
    const std::string out = FormatOutcome(result, status, format, OutcomeLayout::kBlock);
    if (format.kind == StatusFormat::Kind::kPrometheus) {
        UseBinaryStandardOutput();  // the format's lines end in "\n" alone, also on Windows
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return result;
}

}  // namespace quirnctl
