// quirnctl's password files: the first line, held to the administrator-password rule, with
// messages that name the file and the limits but never the password.
#include "cli/password_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cli/command.h"
#include "tests/support/temporary_folder.h"

namespace quirnctl {
namespace {

class PasswordFileTest : public testing::Test {
  protected:
    std::string Write(const std::string& content) {
        const std::string path = (folder_.path() / "password.txt").string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // The usage error's message for `content`, or "" when the file is accepted.
    std::string Refusal(const std::string& content) {
        try {
            ReadPasswordFile(Write(content));
            return "";
        } catch (const UsageError& error) {
            return error.what();
        }
    }

    const quirn::testing_fakes::TemporaryFolder folder_{"quirn-password-"};
};

TEST_F(PasswordFileTest, AcceptsUpToBothLimitsAndNamesThemBeyond) {
    const std::string kanji = "漢";  // two bytes stored, three in UTF-8
    std::string at_limit;
    for (int i = 0; i < 22; ++i) {
        at_limit += kanji;
    }
    EXPECT_EQ(ReadPasswordFile(Write(at_limit + "\r\nnext line\n")), at_limit);
    EXPECT_EQ(ReadPasswordFile(Write(std::string(64, 'p'))), std::string(64, 'p'));

    for (const std::string& too_long : {at_limit + kanji, std::string(65, 'p')}) {
        const std::string message = Refusal(too_long);
        EXPECT_NE(message.find("64 bytes in code page 932 and 66 bytes in UTF-8"),
                  std::string::npos)
            << message;
        EXPECT_EQ(message.find(too_long), std::string::npos);
    }
    EXPECT_NE(Refusal("caf\xC3\xA9").find("code page 932 cannot store"), std::string::npos);
    EXPECT_NE(Refusal("\xFF\xFE").find("is not UTF-8"), std::string::npos);
}

}  // namespace
}  // namespace quirnctl
