// status_report.cpp: decodes a fetched record for display and prints it.
#include "cli/status_report.h"

#include <cstdio>
#include <string>

#include "cli/status_json.h"
#include "cli/status_text.h"
#include "common/page/entity_decoder.h"
#include "common/library.h"
#include "common/router_result.h"
#include "common/page/status_page.h"

namespace quirnctl {

int ReportStatus(int result, const lumora::RouterStatus& status, bool json) {
    lumora::RouterStatus shown = status;
    if (result == lumora::kSuccess) {
        lumora::EntityTable::Prepare();
        std::string decoded =
            lumora::EntityTable::Decode(std::string(lumora::FieldText(shown.connection_text)));
        lumora::CopyFieldText(shown.connection_text, sizeof shown.connection_text, decoded.data(),
                              static_cast<int>(decoded.size()));
    }
    const lumora::RouterStatus* record = result == lumora::kSuccess ? &shown : nullptr;
    std::string out;
    if (json) {
        out = StatusJson(result, record, lumora::HoldsSessionToken());
    } else {
        out = StatusSummary(result, record);
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return result;
}

}  // namespace quirnctl
