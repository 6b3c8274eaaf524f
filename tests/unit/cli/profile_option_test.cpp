// quirnctl --profile: the window's router address and stored password, read from its profile.
#include "cli/profile_option.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/command.h"
#include "tests/support/temporary_folder.h"

namespace quirnctl {
namespace {

namespace fs = std::filesystem;

class ProfileOptionTest : public testing::Test {
  protected:
    void SetUp() override { path_ = (directory_ / "QuirnMobileTool.INI").string(); }

    void WriteProfile(const std::string& router_info) {
        std::ofstream(path_, std::ios::binary)
            << "[application_info]\r\nreload_cycle=20000\r\n[router_info]\r\n"
            << router_info;
    }

    const quirn::testing_fakes::TemporaryFolder folder_{"quirn-profile-"};
    const fs::path& directory_ = folder_.path();
    std::string path_;
};

TEST_F(ProfileOptionTest, TakesAddressAndDecodedPassword) {
    struct Case {
        const char* router_info;
        std::optional<std::string> host;
        std::string password;
    };
    const Case cases[] = {
        {"connect_domain=192.168.100.1\r\nconnect_rt_pw=wjHG\r\n", "192.168.100.1", "abc"},
        // An empty address means the router's local host name, as in the window.
        {"connect_domain=\r\nconnect_rt_pw=\r\n", std::nullopt, ""},
        {"", "quirn.home.arpa", ""},
        // The stored form is in code page 932; the library gets UTF-8.
        {"connect_rt_pw=J30tvQ==\r\n", "quirn.home.arpa", "\xE6\x97\xA5\xE6\x9C\xAC"},
    };
    for (const Case& c : cases) {
        WriteProfile(c.router_info);
        const ProfileAccess access = ReadProfileOption(path_);
        EXPECT_EQ(access.router_host, c.host) << c.router_info;
        EXPECT_EQ(access.admin_password, c.password) << c.router_info;
    }
}

// watch polls as often as the window would with this profile.
TEST_F(ProfileOptionTest, TakesThePollingIntervalInTheWindowsWholeSeconds) {
    const struct {
        const char* application_info;
        int seconds;
    } cases[] = {
        {"reload_cycle=60000\r\n", 60},
        {"reload_cycle=1999\r\n", 1},  // the window compares whole seconds
        {"reload_cycle=500\r\n", 1},   // below a second: every tick of the window's timer
        {"reload_cycle=0\r\n", 1},
        {"", 20},                        // missing: the window's default
        {"reload_cycle=4294967295\r\n", 4294967},  // stored "%u": read back unsigned
    };
    for (const auto& c : cases) {
        std::ofstream(path_, std::ios::binary)
            << "[application_info]\r\n" << c.application_info << "[router_info]\r\n";
        EXPECT_EQ(ReadProfileOption(path_).poll_interval.count(), c.seconds) << c.application_info;
    }
}

TEST_F(ProfileOptionTest, UnusableProfileIsAUsageError) {
    EXPECT_THROW(ReadProfileOption(path_), UsageError);  // no file yet
    EXPECT_THROW(ReadProfileOption(directory_.string()), UsageError);
    WriteProfile("connect_domain=10.0.0.1\r\nconnect_rt_pw=////\r\n");  // bytes that are no text
    try {
        ReadProfileOption(path_);
        ADD_FAILURE() << "no error for an undecodable password";
    } catch (const UsageError& error) {
        EXPECT_NE(std::string(error.what()).find(path_), std::string::npos);
    }
    // A command that never logs in still gets the address.
    const ProfileAccess access = ReadProfileOption(path_, false);
    EXPECT_EQ(access.router_host, "10.0.0.1");
    EXPECT_EQ(access.admin_password, "");
}

}  // namespace
}  // namespace quirnctl
