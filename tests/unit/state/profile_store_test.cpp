// The portable INI profile file: reads and writes as the Windows profile API does.
#include "state/ini_profile_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/temporary_folder.h"

namespace quirn {
namespace {

namespace fs = std::filesystem;

// A private directory per test, holding the profile file "p.ini".
class IniProfileStoreTest : public testing::Test {
  protected:
    void SetUp() override { path_ = directory_ / "p.ini"; }

    void WriteFile(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
    std::string FileBytes() {
        std::ifstream stream(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    }

    const testing_fakes::TemporaryFolder folder_{"quirn-ini-"};
    const fs::path& directory_ = folder_.path();
    fs::path path_;
};

TEST_F(IniProfileStoreTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt) {
    IniProfileStore store(path_);
    EXPECT_EQ(store.Read(L"router_info", L"connect_domain", L"dflt"), L"dflt");
    EXPECT_TRUE(store.Write(L"router_info", L"connect_domain", L"quirn.home.arpa"));
    EXPECT_TRUE(store.Write(L"router_info", L"connect_rt_pw", L""));
    EXPECT_EQ(FileBytes(), "[router_info]\r\nconnect_domain=quirn.home.arpa\r\nconnect_rt_pw=\r\n");
    EXPECT_FALSE(fs::exists(directory_ / "p.ini.tmp"));
}

TEST_F(IniProfileStoreTest, ReadsLikeTheProfileApi) {
    WriteFile(
        "; a comment\n"
        "[Application_Info]\n"
        "  Reload_Cycle =  15000  \n"
        "app_version=\n"
        ";app_startup=1\n"
        "quoted=\"  two words \"\n"
        "single='x'\n"
        "lonely=\"\n"
        "pw=wjHG==\n"
        "pw=second\n"
        "[router_info]\n"
        "connect_domain=10.0.0.1\n"
        "[application_info]\n"
        "app_keep_task=1\n");
    IniProfileStore store(path_);
    const struct {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
    } cases[] = {
        {L"application_info", L"reload_cycle", L"15000"},     // names without regard to case
        {L"APPLICATION_INFO", L"APP_VERSION", L""},           // present but empty: not the default
        {L"application_info", L"app_startup", L"<default>"},  // commented out
        {L"application_info", L"quoted", L"  two words "},
        {L"application_info", L"single", L"x"},
        {L"application_info", L"lonely", L"\""},
        {L"application_info", L"pw", L"wjHG=="},                // the first of two keys wins
        {L"application_info", L"app_keep_task", L"<default>"},  // only the first section counts
        {L"router_info", L"connect_domain", L"10.0.0.1"},
        {L"router_info", L"reload_cycle", L"<default>"},
        {L"nowhere", L"connect_domain", L"<default>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store.Read(c.section, c.key, L"<default>"), c.value) << c.key;
    }
}

TEST_F(IniProfileStoreTest, WriteKeepsEverythingElseInOrder) {
    WriteFile(
        "; kept\n"
        "[application_info]\n"
        "App_Version=1.0\n"
        "reload_cycle=20000\n"
        "\n"
        "[other]\n"
        "x = y\n");
    IniProfileStore store(path_);
    EXPECT_TRUE(store.Write(L"APPLICATION_INFO", L"app_version", L"2.0"));
    EXPECT_TRUE(store.Write(L"application_info", L"app_startup", L"1"));
    EXPECT_TRUE(store.Write(L"router_info", L"connect_rt_pw", L"a=b=="));
    EXPECT_EQ(FileBytes(),
              "; kept\n"
              "[application_info]\n"
              "app_version=2.0\n"
              "reload_cycle=20000\n"
              "app_startup=1\n"
              "\n"
              "[other]\n"
              "x = y\n"
              "[router_info]\n"
              "connect_rt_pw=a=b==\n");
    EXPECT_EQ(store.Read(L"router_info", L"connect_rt_pw", L""), L"a=b==");
}

TEST_F(IniProfileStoreTest, KeepsTheFilesEncoding) {
    // The Windows program writes its profile in the ANSI code page: 932 on a Japanese system.
    WriteFile("[application_info]\r\napp_version=\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\r\n");
    IniProfileStore store(path_);
    EXPECT_EQ(store.Read(L"application_info", L"app_version", L""), L"バージョン");
    EXPECT_TRUE(store.Write(L"application_info", L"note", L"日本"));
    EXPECT_EQ(FileBytes(),
              "[application_info]\r\napp_version=\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\r\n"
              "note=\x93\xfa\x96\x7b\r\n");
    // A character code page 932 cannot hold is refused rather than replaced.
    EXPECT_FALSE(store.Write(L"application_info", L"note", L"\U0001F600"));

    WriteFile("\xEF\xBB\xBF[a]\nk=\xE6\x97\xA5\n");
    EXPECT_EQ(store.Read(L"a", L"k", L""), L"日");
    EXPECT_TRUE(store.Write(L"a", L"k", L"\U0001F600"));
    EXPECT_EQ(FileBytes(), "\xEF\xBB\xBF[a]\nk=\xF0\x9F\x98\x80\n");
}

TEST_F(IniProfileStoreTest, RefusesWritesThatWouldLoseOrCorruptData) {
    const std::string original = "[a]\r\nk=v\r\n";
    WriteFile(original);
    IniProfileStore store(path_);
    EXPECT_FALSE(store.Write(L"a", L"k", L"two\nlines"));
    EXPECT_FALSE(store.Write(L"a", L"k=", L"v"));
    EXPECT_FALSE(store.Write(L"a]", L"k", L"v"));
    EXPECT_FALSE(store.Write(L"a", L"", L"v"));
    EXPECT_FALSE(store.Write(L"a", L"[k", L"v"));
    EXPECT_EQ(FileBytes(), original);

    // A file that cannot be read is neither taken as empty nor overwritten.
    WriteFile(std::string("[a]\r\nk=v\0\r\n", 11));
    EXPECT_EQ(store.Read(L"a", L"k", L"d"), L"d");
    EXPECT_FALSE(store.Write(L"a", L"k", L"w"));
    EXPECT_EQ(FileBytes(), std::string("[a]\r\nk=v\0\r\n", 11));

    IniProfileStore directory_store(directory_);
    EXPECT_EQ(directory_store.Read(L"a", L"k", L"d"), L"d");
    EXPECT_FALSE(directory_store.Write(L"a", L"k", L"w"));

    IniProfileStore nowhere(directory_ / "missing" / "p.ini");
    EXPECT_FALSE(nowhere.Write(L"a", L"k", L"w"));

    // Code page 932 only because of the "\xB0" ("ｰ"): without it the bytes of x would read as
    // UTF-8, another text, so the rewrite that drops it is refused.
    const std::string cp932 = "[a]\r\nx=\xC3\x8Eu\r\ny=\xB0\r\n";
    WriteFile(cp932);
    const std::wstring x = store.Read(L"a", L"x", L"");
    EXPECT_EQ(x, L"\uFF83\u5FD7");  // "ﾃ志"
    EXPECT_FALSE(store.Write(L"a", L"y", L"1"));
    EXPECT_EQ(FileBytes(), cp932);
    EXPECT_EQ(store.Read(L"a", L"x", L""), x);
}

}  // namespace
}  // namespace quirn
