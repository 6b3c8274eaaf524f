// command.h: what every quirnctl command provides, and the helpers they share.
//
// A command is one entry of the table in main.cpp: a name, its usage line and a function that
// gets the arguments after the command name and returns the exit status.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace quirnctl {

// Exit status of a usage error: unknown command or option, missing argument, unusable file.
inline constexpr int kExitUsage = 64;

struct Command {
    const char* name;
    const char* usage;    // the arguments after the name, e.g. "FILE [--json]"
    const char* summary;  // one line for the usage text
    int (*run)(const std::vector<std::string>& args);
};

// Thrown by a command whose arguments are wrong; main prints the message and the command's
// usage line and exits with kExitUsage.
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

// The commands.
int RunParse(const std::vector<std::string>& args);
int RunStatus(const std::vector<std::string>& args);
int RunReboot(const std::vector<std::string>& args);
int RunStandby(const std::vector<std::string>& args);
int RunSwitch(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunSetPassword(const std::vector<std::string>& args);

}  // namespace quirnctl
