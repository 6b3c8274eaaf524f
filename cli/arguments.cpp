// arguments.cpp: splits a command's words into positional arguments and known options.
#include <algorithm>

#include "cli/command.h"

namespace quirnctl {

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& word) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

}  // namespace

bool Arguments::Has(const std::string& flag) const {
    return Contains(flags, flag);
}

const std::string* Arguments::Value(const std::string& option) const {
    for (const auto& [name, value] : values) {
        if (name == option) {
            return &value;
        }
    }
    return nullptr;
}

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::vector<std::string>& flags,
                         const std::vector<std::string>& valued_options) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 2 || word[0] != '-') {
            parsed.positional.push_back(word);
        } else if (Contains(flags, word)) {
            if (parsed.Has(word)) {
                throw UsageError(word + " given twice");
            }
            parsed.flags.push_back(word);
        } else if (Contains(valued_options, word)) {
            if (i + 1 >= args.size()) {
                throw UsageError(word + " needs a value");
            }
            if (parsed.Value(word) != nullptr) {
                throw UsageError(word + " given twice");
            }
            parsed.values.emplace_back(word, args[++i]);
        } else {
            throw UsageError("unknown option " + word);
        }
    }
    return parsed;
}

}  // namespace quirnctl
