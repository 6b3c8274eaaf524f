// The settings record: defaults, the found/missing rules, the stored number form, round trips.
#include "state/app_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <vector>

#include "state/ini_profile_store.h"
#include "tests/support/memory_profile_store.h"
#include "tests/support/temporary_folder.h"

namespace quirn {
namespace {

using testing_fakes::MemoryProfileStore;
using testing_fakes::TemporaryFolder;

const DesktopRect kDesktop{0, 0, 1920, 1080};

TEST(AppSettings, KeyNamesAndStatusPageAccount) {
    const AppSettings s;
    const std::vector<std::wstring> keys = {
        s.app_version.key,  s.reload_cycle.key,  s.window_pos_x.key,   s.window_pos_y.key,
        s.app_startup.key,  s.app_keep_task.key, s.connect_domain.key, s.connect_user.key,
        s.connect_pass.key, s.connect_rt_pw.key};
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"app_version", L"reload_cycle", L"window_pos_x",
                                               L"window_pos_y", L"app_startup", L"app_keep_task",
                                               L"connect_domain", L"connect_user", L"connect_pass",
                                               L"connect_rt_pw"}));
    EXPECT_EQ(s.reload_cycle.value, 0);
    EXPECT_TRUE(s.connect_domain.value.empty());

    AppSettings account;
    account.SetStatusPageAccount();
    EXPECT_EQ(account.connect_user.value, L"tarn-access");
    EXPECT_EQ(account.connect_pass.value, L"tarn-access");
}

TEST(AppSettings, EmptyProfileGivesDefaultsAndFirstSaveWritesAllEightKeys) {
    MemoryProfileStore store;
    AppSettings s;
    EXPECT_FALSE(s.LoadProfile(store, DesktopRect{-1280, 0, 1921, 1081}));
    EXPECT_EQ(store.log,
              (std::vector<std::wstring>{
                  L"read application_info/app_version", L"read application_info/reload_cycle",
                  L"read application_info/window_pos_x", L"read application_info/window_pos_y",
                  L"read application_info/app_startup", L"read application_info/app_keep_task",
                  L"read router_info/connect_domain", L"read router_info/connect_rt_pw"}));
    EXPECT_EQ(s.app_version.value, L"");
    EXPECT_EQ(s.reload_cycle.value, 20000);
    EXPECT_EQ(s.window_pos_x.value, 1600);  // (1921 - -1280) / 2
    EXPECT_EQ(s.window_pos_y.value, 540);
    EXPECT_EQ(s.app_startup.value, 0);
    EXPECT_EQ(s.app_keep_task.value, 0);
    EXPECT_EQ(s.connect_domain.value, L"quirn.home.arpa");
    EXPECT_EQ(s.connect_rt_pw.value, L"");

    store.log.clear();
    s.window_pos_x.value = -8;
    EXPECT_TRUE(s.SaveProfile(store));
    EXPECT_EQ(
        store.log,
        (std::vector<std::wstring>{
            L"write application_info/app_version=", L"write application_info/reload_cycle=20000",
            L"write application_info/window_pos_x=4294967288",
            L"write application_info/window_pos_y=540", L"write application_info/app_startup=0",
            L"write application_info/app_keep_task=0",
            L"write router_info/connect_domain=quirn.home.arpa",
            L"write router_info/connect_rt_pw="}));
}

TEST(AppSettings, ReadsBackWhatItSaved) {
    const TemporaryFolder directory("quirn-settings-");
    IniProfileStore store(directory.path() / "QuirnMobileTool.INI");

    AppSettings saved;
    saved.app_version.value = L"2.0.7";
    saved.reload_cycle.value = 15000;
    saved.window_pos_x.value = -8;
    saved.window_pos_y.value = -2147483647 - 1;
    saved.app_startup.value = 1;
    saved.app_keep_task.value = 1;
    saved.connect_domain.value = L"192.168.100.1";
    saved.connect_user.value = L"never stored";
    saved.connect_rt_pw.value = L"wjHG";
    ASSERT_TRUE(saved.SaveProfile(store));

    AppSettings loaded;
    EXPECT_TRUE(loaded.LoadProfile(store, kDesktop));
    EXPECT_EQ(loaded.app_version.value, L"2.0.7");
    EXPECT_EQ(loaded.reload_cycle.value, 15000);
    EXPECT_EQ(loaded.window_pos_x.value, -8);
    EXPECT_EQ(loaded.window_pos_y.value, -2147483647 - 1);
    EXPECT_EQ(loaded.app_startup.value, 1);
    EXPECT_EQ(loaded.app_keep_task.value, 1);
    EXPECT_EQ(loaded.connect_domain.value, L"192.168.100.1");
    EXPECT_EQ(loaded.connect_user.value, L"");
    EXPECT_EQ(loaded.connect_rt_pw.value, L"wjHG");

    std::ifstream file(store.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    file.close();  // Windows removes no file that is still open
    EXPECT_NE(bytes.find("window_pos_x=4294967288\r\n"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("connect_user"), std::string::npos);
}

TEST(AppSettings, StoredNumbersReadAsTheyWereWritten) {
    const std::pair<const wchar_t*, int32_t> cases[] = {
        {L"15000", 15000},
        {L"15000ms", 15000},
        {L"abc", 0},
        {L" \t+12", 12},
        {L"-8", -8},
        {L"- 8", 0},
        {L"4294967288", -8},  // how -8 is written
        {L"2147483647", 2147483647},
        {L"2147483648", std::numeric_limits<int32_t>::min()},
        {L"4294967295", -1},
        {L"4294967296", std::numeric_limits<int32_t>::max()},
        {L"99999999999999999999999", std::numeric_limits<int32_t>::max()},
        {L"-2147483648", std::numeric_limits<int32_t>::min()},
        {L"-99999999999999999999999", std::numeric_limits<int32_t>::min()},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseStoredNumber(text), value) << text;
    }
}

// Which entries count as found, and which keep their value when missing or empty.
TEST(AppSettings, MissingAndEmptyEntries) {
    struct Case {
        const char* name;
        std::map<std::pair<std::wstring, std::wstring>, std::wstring> profile;
        bool complete;
        std::wstring domain;
        std::wstring version;
        int32_t reload;
    };
    const std::map<std::pair<std::wstring, std::wstring>, std::wstring> full = {
        {{L"application_info", L"app_version"}, L"1.0"},
        {{L"application_info", L"reload_cycle"}, L"abc"},
        {{L"application_info", L"window_pos_x"}, L"1"},
        {{L"application_info", L"window_pos_y"}, L"2"},
        {{L"application_info", L"app_startup"}, L"0"},
        {{L"application_info", L"app_keep_task"}, L"0"},
        {{L"router_info", L"connect_domain"}, L"router"},
        {{L"router_info", L"connect_rt_pw"}, L"wjHG"},
    };
    auto without = [&](const wchar_t* section, const wchar_t* key) {
        auto profile = full;
        profile.erase({section, key});
        return profile;
    };
    auto emptied = [&](const wchar_t* section, const wchar_t* key) {
        auto profile = full;
        profile[{section, key}] = L"";
        return profile;
    };
    const Case cases[] = {
        {"all present", full, true, L"router", L"1.0", 0},
        // A missing address gives the router's host name and still counts as found.
        {"domain missing", without(L"router_info", L"connect_domain"), true, L"quirn.home.arpa",
         L"1.0", 0},
        {"domain empty", emptied(L"router_info", L"connect_domain"), false, L"before", L"1.0", 0},
        {"version missing", without(L"application_info", L"app_version"), false, L"router",
         L"before", 0},
        {"reload empty", emptied(L"application_info", L"reload_cycle"), false, L"router", L"1.0",
         20000},
        {"password missing", without(L"router_info", L"connect_rt_pw"), false, L"router", L"1.0",
         0},
    };
    for (const Case& c : cases) {
        MemoryProfileStore store;
        store.values = c.profile;
        AppSettings s;
        s.connect_domain.value = L"before";
        s.app_version.value = L"before";
        s.connect_rt_pw.value = L"before";
        EXPECT_EQ(s.LoadProfile(store, kDesktop), c.complete) << c.name;
        EXPECT_EQ(s.connect_domain.value, c.domain) << c.name;
        EXPECT_EQ(s.app_version.value, c.version) << c.name;
        EXPECT_EQ(s.reload_cycle.value, c.reload) << c.name;
        EXPECT_EQ(store.log.size(), 8u) << c.name;  // every entry read even after a miss
    }
}

TEST(AppSettings, SaveAttemptsEveryWriteAfterAFailure) {
    MemoryProfileStore store;
    store.failing_key = L"window_pos_x";
    AppSettings s;
    EXPECT_FALSE(s.SaveProfile(store));
    EXPECT_EQ(store.log.size(), 8u);
    EXPECT_EQ(store.values.size(), 7u);
}

}  // namespace
}  // namespace quirn
