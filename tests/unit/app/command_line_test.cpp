// The command-line tokeniser and its "/cleanup" switch.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace quirn {
namespace {

struct TokenCase {
    const wchar_t* line;
    std::vector<std::wstring> tokens;
    bool cleanup;
};

class CommandLine : public testing::TestWithParam<TokenCase> {};

TEST_P(CommandLine, Tokenises) {
    const TokenCase& c = GetParam();
    const std::vector<std::wstring> tokens = TokenizeCommandLine(c.line);
    EXPECT_EQ(tokens, c.tokens);
    EXPECT_EQ(HasCleanupSwitch(tokens), c.cleanup);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLine,
    testing::Values(
        TokenCase{L"", {}, false}, TokenCase{L" \t  ", {}, false},
        TokenCase{L"/cleanup", {L"/cleanup"}, true},
        TokenCase{L"  /cleanup\t", {L"/cleanup"}, true},
        TokenCase{L"\"/cleanup\"", {L"/cleanup"}, true},
        TokenCase{L"\"  /cleanup \"", {L"/cleanup"}, true},
        TokenCase{L"/CLEANUP", {L"/CLEANUP"}, false}, TokenCase{L"-cleanup", {L"-cleanup"}, false},
        TokenCase{L"/cleanupx /clean", {L"/cleanupx", L"/clean"}, false},
        TokenCase{L"/foo /cleanup bar", {L"/foo", L"/cleanup", L"bar"}, true},
        TokenCase{L"a   b", {L"a", L"b"}, false},
        // A quote opens a token only where a token starts exactly.
        TokenCase{L"\"a b\"", {L"a b"}, false}, TokenCase{L"x \"a b\"", {L"x", L"a b"}, false},
        TokenCase{L"x  \"a b\"", {L"x", L"\"a", L"b\""}, false},
        TokenCase{L"\"a b\" \"c d\"", {L"a b", L"\"c", L"d\""}, false},
        TokenCase{L"\"a b\"\"c d\"", {L"a b", L"c d"}, false},
        TokenCase{L"x\"a b\"", {L"x\"a", L"b\""}, false},
        TokenCase{
            L"\"C:\\Program Files\\x\" /cleanup", {L"C:\\Program Files\\x", L"/cleanup"}, true},
        // Blank quoted tokens stay as empty tokens; an unclosed quote runs to the end.
        TokenCase{L"\"   \" x", {L"", L"x"}, false}, TokenCase{L"\"/cleanup", {L"/cleanup"}, true},
        TokenCase{L"\"\"", {}, false}, TokenCase{L"\"\" /cleanup", {L"/cleanup"}, true}));

}  // namespace
}  // namespace quirn
