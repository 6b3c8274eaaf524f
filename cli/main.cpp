// main.cpp: quirnctl's entry point: picks the command from the table (command_table.cpp) and
// runs it.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/command.h"
#include "common/library.h"
#include "common/router_result.h"
#include "res/version.h"

namespace quirnctl {
namespace {

void Print(std::FILE* out, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), out);
}

int Main(int argc, char** argv) {
    // Standard output carries the result (JSON for scripts); the library's diagnostic lines
    // go beside it on standard error.
    lumora::SetDiagnosticStream(stderr);

    if (argc < 2) {
        Print(stderr, OverallUsage());
        return kExitUsage;
    }
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (name == "--version" && args.empty()) {
        Print(stdout, "quirnctl " QUIRN_VERSION_TEXT "\n");
        return 0;
    }
    // "--help" alone, or before a command's name, is the help command.
    const Command* command = FindCommand(name == "--help" || name == "-h" ? "help" : name);
    if (command == nullptr) {
        std::fprintf(stderr, "quirnctl: unknown command %s\n\n", name.c_str());
        Print(stderr, OverallUsage());
        return kExitUsage;
    }
    try {
        if (AsksForHelp(*command, args)) {
            Print(stdout, CommandHelp(*command));
            return 0;
        }
        return command->run(args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "quirnctl: %s\nusage: quirnctl %s\n", error.what(),
                     Synopsis(*command).c_str());
        return kExitUsage;
    }
}

}  // namespace
}  // namespace quirnctl

int main(int argc, char** argv) {
    try {
        return quirnctl::Main(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quirnctl: %s\n", error.what());
        return lumora::kLocalFailure;
    }
}
