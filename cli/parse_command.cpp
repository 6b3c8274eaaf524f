// parse_command.cpp: "quirnctl parse FILE [--format FORMAT] [--json]" interprets a saved status
// page.
//
// The file holds the page as the router sends it (EUC-JP); it goes through the same reader,
// checks and token rule as a fetched page, so the exit status is the result a fetch would give.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "cli/command.h"
#include "cli/file_line_source.h"
#include "cli/status_report.h"
#include "common/busy_counter.h"
#include "common/page/page_reader.h"
#include "common/router_status.h"

namespace quirnctl {

int RunParse(const std::vector<std::string>& args) {
    const Arguments parsed = ParseCommandArguments("parse", args);
    if (parsed.positional.size() != 1) {
        throw UsageError(parsed.positional.empty() ? "parse needs a FILE" : "parse takes one FILE");
    }
    const StatusFormat format = ReadStatusFormat(parsed);
    const std::string& path = parsed.positional[0];

    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        std::fprintf(stderr, "quirnctl: %s: is a directory\n", path.c_str());
        return kExitUsage;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        std::fprintf(stderr, "quirnctl: cannot open %s: %s\n", path.c_str(), std::strerror(errno));
        return kExitUsage;
    }

    FileLineSource source(file.get());
    lumora::RouterStatus status = lumora::FreshRouterStatus();
    lumora::RouterResult result;
    {
        lumora::BusyGuard busy;  // the page uses the library's single-instance state
        result = lumora::InterpretPage(source, status);
    }
    if (std::ferror(file.get())) {
        std::fprintf(stderr, "quirnctl: error reading %s\n", path.c_str());
    }
    return ReportStatus(result, status, format);
}

}  // namespace quirnctl
