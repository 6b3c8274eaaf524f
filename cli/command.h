// command.h: what every quirnctl command provides, and the helpers they share.
//
// The commands and their options are one table (command_table.cpp): the usage text, each
// command's help and the parsing of its arguments all read it, so they cannot disagree.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quirnctl {

// Exit status of a usage error: unknown command or option, missing argument, unusable file.
inline constexpr int kExitUsage = 64;

struct Option {
    const char* name;   // "--router"
    const char* value;  // what its value is, "HOST"; nullptr for a flag without value
    const char* help;   // one line
};

struct OptionUse {
    const Option* option;
    bool required;
};

struct Command {
    const char* name;
    const char* operands;  // the words before the options, e.g. "FILE" or "lte3g|wlan"; or ""
    const char* summary;   // one line
    std::span<const OptionUse> options;
    int (*run)(const std::vector<std::string>& args);
};

// Every command, in the order the usage lists them.
std::span<const Command> Commands();

// The command called `name`, or nullptr.
const Command* FindCommand(std::string_view name);

// "status [--router HOST] ... [--json]": the name, operands and options.
std::string Synopsis(const Command& command);

// quirnctl's usage: every command's synopsis and summary, then what the options share.
std::string OverallUsage();

// One command's usage: its synopsis, summary and one line per option.
std::string CommandHelp(const Command& command);

// Thrown by a command whose arguments are wrong; main prints the message and the command's
// synopsis and exits with kExitUsage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A command's arguments split into positional words and options.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::string> flags;                           // given flags, e.g. "--json"
    std::vector<std::pair<std::string, std::string>> values;  // options with a value

    bool Has(const std::string& flag) const;
    // The value of `option`, or nullptr when it was not given.
    const std::string* Value(const std::string& option) const;
};

// Splits `args`: words beginning with "--" must be one of `flags` (no value) or of
// `valued_options` (the next word is the value); "-" alone is positional. Throws UsageError for
// an unknown option, a missing value, or an option given twice.
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& flags,
                         const std::vector<std::string>& valued_options = {});

// `args` parsed by the options the table gives the command `name`; throws UsageError also when
// a required option is missing.
Arguments ParseCommandArguments(std::string_view name, const std::vector<std::string>& args);

// True when `args` ask for the command's help: "--help" or "-h" where an option may stand.
bool AsksForHelp(const Command& command, const std::vector<std::string>& args);

// The commands.
int RunParse(const std::vector<std::string>& args);
int RunStatus(const std::vector<std::string>& args);
int RunReboot(const std::vector<std::string>& args);
int RunStandby(const std::vector<std::string>& args);
int RunSwitch(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunSetPassword(const std::vector<std::string>& args);
int RunWatch(const std::vector<std::string>& args);

}  // namespace quirnctl
