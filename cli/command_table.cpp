// command_table.cpp: quirnctl's commands and their options, and the usage texts made from them.
//
// To add a command, declare its function in command.h and add an entry to kCommands; to add an
// option, define it beside the others and name it in the commands that take it.
#include <algorithm>
#include <cstdio>

#include "cli/command.h"

namespace quirnctl {
namespace {

constexpr Option kFormat{"--format", "FORMAT",
                         "text (the default), json, prometheus, or a template such as "
                         "'{battery_percent}% {radio_level}' (fields named as in the JSON)"};
constexpr Option kJson{"--json", nullptr,
                       "print one JSON object {\"result\": N, \"status\": {...} or null, "
                       "\"has_session_token\": B}; the same as --format json"};
constexpr Option kRouter{"--router", "HOST",
                         "read the status page from HOST instead of the router's own name"};
constexpr Option kProfile{"--profile", "FILE",
                          "the router address and administrator password from the window's "
                          "profile FILE; --router and --password-file override it"};
constexpr Option kPasswordFile{"--password-file", "FILE",
                               "the administrator password is FILE's first line ('-' reads "
                               "standard input); never an argument"};

constexpr Option kInterval{"--interval", "SECONDS",
                           "seconds from one poll's start to the next, 1 to 86400 (default: the "
                           "profile's reload_cycle, otherwise 20)"};
constexpr Option kCount{"--count", "N",
                        "end after N polls, with the last poll's result as the exit status"};
constexpr Option kChanges{"--changes", nullptr,
                          "print a poll only when what it prints differs from the last one "
                          "printed"};

constexpr OptionUse kParseOptions[] = {{&kFormat, false}, {&kJson, false}};
constexpr OptionUse kStatusOptions[] = {
    {&kRouter, false}, {&kProfile, false}, {&kFormat, false}, {&kJson, false}};
constexpr OptionUse kWatchOptions[] = {
    {&kRouter, false}, {&kProfile, false}, {&kInterval, false}, {&kCount, false},
    {&kChanges, false}, {&kFormat, false}, {&kJson, false}};
constexpr OptionUse kRouterCommandOptions[] = {
    {&kPasswordFile, false}, {&kRouter, false}, {&kProfile, false}, {&kJson, false}};
constexpr OptionUse kCheckOptions[] = {{&kJson, false}};
constexpr OptionUse kSetPasswordOptions[] = {{&kPasswordFile, true}, {&kJson, false}};

int RunHelp(const std::vector<std::string>& args);

constexpr Command kCommands[] = {
    {"parse", "FILE", "interpret a saved status page (EUC-JP), exactly as a fetch would",
     kParseOptions, &RunParse},
    {"status", "", "one status poll with the built-in status-page account", kStatusOptions,
     &RunStatus},
    {"watch", "",
     "poll the status again and again, one line per poll, until N polls or Ctrl-C",
     kWatchOptions, &RunWatch},
    {"reboot", "", "reboot the router", kRouterCommandOptions, &RunReboot},
    {"standby", "", "put the router to sleep", kRouterCommandOptions, &RunStandby},
    {"switch", "lte3g|wlan", "switch the preferred connection", kRouterCommandOptions,
     &RunSwitch},
    {"check", "", "check that the Internet is reachable through the router", kCheckOptions,
     &RunCheck},
    {"set-password", "", "set the first administrator password", kSetPasswordOptions,
     &RunSetPassword},
    {"help", "[COMMAND]", "print this usage, or one command's options", {}, &RunHelp},
};

std::string OptionWords(const Option& option) {
    return option.value != nullptr ? std::string(option.name) + " " + option.value : option.name;
}

// One "  --name VALUE  help" line per option, the help texts in one column.
std::string OptionLines(const std::vector<const Option*>& options) {
    std::size_t width = 0;
    for (const Option* option : options) {
        width = std::max(width, OptionWords(*option).size());
    }
    std::string out;
    for (const Option* option : options) {
        std::string words = OptionWords(*option);
        out += "  " + words + std::string(width - words.size() + 2, ' ') + option->help + "\n";
    }
    return out;
}

int RunHelp(const std::vector<std::string>& args) {
    std::string out;
    if (args.empty()) {
        out = OverallUsage();
    } else if (args.size() > 1) {
        throw UsageError("help takes one COMMAND");
    } else if (const Command* command = FindCommand(args[0])) {
        out = CommandHelp(*command);
    } else {
        throw UsageError("unknown command " + args[0]);
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (name == command.name) {
            return &command;
        }
    }
    return nullptr;
}

std::string Synopsis(const Command& command) {
    std::string out = command.name;
    if (*command.operands != '\0') {
        out += std::string(" ") + command.operands;
    }
    for (const OptionUse& use : command.options) {
        out += use.required ? " " + OptionWords(*use.option)
                            : " [" + OptionWords(*use.option) + "]";
    }
    return out;
}

std::string OverallUsage() {
    std::string out =
        "usage: quirnctl COMMAND [ARGUMENTS]\n"
        "       quirnctl COMMAND --help | quirnctl --help | quirnctl --version\n\n"
        "commands:\n";
    std::vector<const Option*> options;
    for (const Command& command : kCommands) {
        out += "  " + Synopsis(command) + "\n      " + command.summary + "\n";
        for (const OptionUse& use : command.options) {
            if (std::find(options.begin(), options.end(), use.option) == options.end()) {
                options.push_back(use.option);
            }
        }
    }
    out += "\noptions:\n" + OptionLines(options);
    out +=
        "\nExit status: the operation's result (0 success, 1 to 7 failures), 64 usage error;\n"
        "a watch ended by Ctrl-C or SIGTERM: 130 or 143 (as a shell reports the signal).\n";
    return out;
}

std::string CommandHelp(const Command& command) {
    std::string out = "usage: quirnctl " + Synopsis(command) + "\n" + command.summary + "\n";
    if (!command.options.empty()) {
        std::vector<const Option*> options;
        for (const OptionUse& use : command.options) {
            options.push_back(use.option);
        }
        out += "\noptions:\n" + OptionLines(options);
    }
    return out;
}

Arguments ParseCommandArguments(std::string_view name, const std::vector<std::string>& args) {
    const Command* command = FindCommand(name);
    if (command == nullptr) {
        throw std::logic_error("no command " + std::string(name) + " in the table");
    }
    std::vector<std::string> flags;
    std::vector<std::string> valued;
    for (const OptionUse& use : command->options) {
        (use.option->value != nullptr ? valued : flags).push_back(use.option->name);
    }
    Arguments parsed = ParseArguments(args, flags, valued);
    for (const OptionUse& use : command->options) {
        const bool given = use.option->value != nullptr ? parsed.Value(use.option->name) != nullptr
                                                        : parsed.Has(use.option->name);
        if (use.required && !given) {
            throw UsageError(std::string(command->name) + " needs " + OptionWords(*use.option));
        }
    }
    return parsed;
}

bool AsksForHelp(const Command& command, const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            return true;
        }
        for (const OptionUse& use : command.options) {
            if (use.option->value != nullptr && args[i] == use.option->name) {
                ++i;  // its value, whatever it reads
                break;
            }
        }
    }
    return false;
}

}  // namespace quirnctl
