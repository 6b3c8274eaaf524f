// command_line.cpp: the tokeniser behind the "/cleanup" switch.
#include "app/command_line.h"

#include <algorithm>
#include <optional>

namespace quirn {
namespace {

constexpr const wchar_t* kWhiteSpace = L" \t\r\n\v\f";

std::wstring Trim(const std::wstring& text) {
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::wstring::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

// Takes the token at or after `position` delimited by `delimiter`: leading delimiters are
// skipped, the token ends before the next delimiter, and `position` moves just past that
// delimiter. Nothing when only delimiters remain.
std::optional<std::wstring> NextToken(const std::wstring& line, wchar_t delimiter,
                                      size_t& position) {
    const size_t start = line.find_first_not_of(delimiter, position);
    if (start == std::wstring::npos) {
        return std::nullopt;
    }
    size_t end = line.find(delimiter, start);
    if (end == std::wstring::npos) {
        end = line.size();
    }
    position = end + 1;
    return line.substr(start, end - start);
}

}  // namespace

std::vector<std::wstring> TokenizeCommandLine(const std::wstring& line) {
    const std::wstring trimmed = Trim(line);
    std::vector<std::wstring> tokens;
    size_t position = 0;
    while (position < trimmed.size()) {
        wchar_t delimiter = L' ';
        if (trimmed[position] == L'"') {
            delimiter = L'"';
            ++position;
        }
        std::optional<std::wstring> token = NextToken(trimmed, delimiter, position);
        if (!token) {
            break;
        }
        tokens.push_back(Trim(*token));
    }
    return tokens;
}

bool HasCleanupSwitch(const std::vector<std::wstring>& tokens) {
    return std::find(tokens.begin(), tokens.end(), L"/cleanup") != tokens.end();
}

}  // namespace quirn
