// main.cpp: quirnctl's entry point: picks the command from the table and runs it.
//
// To add a command, declare its function in command.h and add a line to kCommands.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/command.h"
#include "common/library.h"
#include "common/router_result.h"

namespace quirnctl {
namespace {

constexpr Command kCommands[] = {
    {"parse", "FILE [--json]", "interpret a saved status page (EUC-JP), exactly as a fetch would",
     &RunParse},
    {"status", "[--router HOST] [--profile FILE] [--json]",
     "one status poll with the built-in status-page account", &RunStatus},
    {"reboot", "[--password-file FILE] [--router HOST] [--profile FILE] [--json]",
     "reboot the router", &RunReboot},
    {"standby", "[--password-file FILE] [--router HOST] [--profile FILE] [--json]",
     "put the router to sleep", &RunStandby},
    {"switch", "lte3g|wlan [--password-file FILE] [--router HOST] [--profile FILE] [--json]",
     "switch the preferred connection", &RunSwitch},
    {"check", "[--json]", "check that the Internet is reachable through the router", &RunCheck},
    {"set-password", "--password-file FILE [--json]", "set the first administrator password",
     &RunSetPassword},
};

void PrintUsage(std::FILE* out) {
    std::fputs("usage: quirnctl COMMAND [ARGUMENTS]\n\ncommands:\n", out);
    for (const Command& command : kCommands) {
        std::fprintf(out, "  %s %s\n      %s\n", command.name, command.usage, command.summary);
    }
    std::fputs(
        "\n--json prints one JSON object {\"result\": N, \"status\": {...} or null, "
        "\"has_session_token\": true or false}.\n"
        "--profile FILE takes the router address and the stored administrator password from the\n"
        "window's profile file; --router and --password-file override them.\n"
        "Exit status: the operation's result (0 success, 1 to 7 failures), 64 usage error.\n",
        out);
}

const Command* FindCommand(const char* name) {
    for (const Command& command : kCommands) {
        if (std::strcmp(command.name, name) == 0) {
            return &command;
        }
    }
    return nullptr;
}

int Main(int argc, char** argv) {
    // Standard output carries the result (JSON for scripts); the library's diagnostic lines
    // go beside it on standard error.
    lumora::SetDiagnosticStream(stderr);

    if (argc < 2) {
        PrintUsage(stderr);
        return kExitUsage;
    }
    std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    const Command* command = FindCommand(argv[1]);
    if (command == nullptr) {
        std::fprintf(stderr, "quirnctl: unknown command %s\n\n", argv[1]);
        PrintUsage(stderr);
        return kExitUsage;
    }
    try {
        return command->run(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "quirnctl: %s\nusage: quirnctl %s %s\n", error.what(), command->name,
                     command->usage);
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
