// command_line.h: splitting the program's command line into tokens and finding "/cleanup".
#pragma once

#include <string>
#include <vector>

namespace quirn {

// Splits the arguments (without the program name) into tokens. A token opening with a double
// quote runs to the next double quote; any other runs to the next space. A quote is only taken
// as an opening quote where a token starts exactly: at the start, right after the single space
// that ended an unquoted token, or right after a closing quote; elsewhere it is an ordinary
// character. Tokens are trimmed of white space and kept even when that leaves them empty.
std::vector<std::wstring> TokenizeCommandLine(const std::wstring& line);

// True when some token is exactly "/cleanup" (case-sensitive).
bool HasCleanupSwitch(const std::vector<std::wstring>& tokens);

}  // namespace quirn
