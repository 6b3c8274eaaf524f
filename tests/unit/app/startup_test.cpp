// Start-up order over a recording platform, and the names derived from the executable.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/autostart_name.h"
#include "app/startup_paths.h"

namespace quirn {
namespace {

using Calls = std::vector<std::wstring>;

// Records every platform call in order; answers come from the test.
class FakeStartupPlatform : public StartupPlatform {
  public:
    void InitWindowControls() override { calls.push_back(L"InitWindowControls"); }
    std::wstring CommandLine() override {
        calls.push_back(L"CommandLine");
        return command_line;
    }
    std::wstring ModulePath() override {
        calls.push_back(L"ModulePath");
        return module_path;
    }
    InstanceMutex CreateInstanceMutex(const std::wstring& name) override {
        calls.push_back(L"CreateInstanceMutex " + name);
        return other_instance ? InstanceMutex::kAlreadyExists : InstanceMutex::kCreated;
    }
    bool ActivateWindow(const std::wstring& title) override {
        calls.push_back(L"ActivateWindow " + title);
        return true;
    }
    bool InitSockets() override {
        calls.push_back(L"InitSockets");
        return sockets_work;
    }
    void ShowMessage(const std::wstring& text) override { calls.push_back(L"ShowMessage " + text); }
    void InstallProfilePath(const std::wstring& path) override {
        calls.push_back(L"InstallProfilePath " + path);
    }
    std::optional<std::wstring> LocalAppDataFolder() override {
        calls.push_back(L"LocalAppDataFolder");
        return local_app_data;
    }
    void RemoveFile(const std::wstring& path) override { calls.push_back(L"RemoveFile " + path); }
    void SetAutostartShortcut(bool create) override {
        calls.push_back(create ? L"SetAutostartShortcut create" : L"SetAutostartShortcut remove");
    }
    void WaitForStandardInput() override { calls.push_back(L"WaitForStandardInput"); }
    void RunMainDialog() override { calls.push_back(L"RunMainDialog"); }

    std::wstring command_line;
    std::wstring module_path =
        L"C:\\Program Files\\Vandrel\\Quirn Mobile Tool\\QuirnMobileTool.exe";
    bool other_instance = false;
    bool sockets_work = true;
    std::optional<std::wstring> local_app_data = L"C:\\Users\\u\\AppData\\Local";
    Calls calls;
};

const Calls kPrologue = {L"InitWindowControls", L"ModulePath", L"CommandLine",
                         L"CreateInstanceMutex QuirnMobileTool"};
const std::wstring kProfile = L"C:\\Program Files\\Vandrel\\Quirn Mobile Tool\\QuirnMobileTool.INI";

Calls After(Calls calls, std::initializer_list<std::wstring> more) {
    calls.insert(calls.end(), more);
    return calls;
}

TEST(Startup, SecondInstanceOnlyBringsTheFirstForward) {
    for (const wchar_t* line : {L"", L"/cleanup"}) {
        FakeStartupPlatform platform;
        platform.command_line = line;
        platform.other_instance = true;
        EXPECT_EQ(RunStartup(platform), StartupOutcome::kSecondInstance);
        EXPECT_EQ(platform.calls, After(kPrologue, {L"ActivateWindow Quirn Mobile Tool"}));
    }
}

TEST(Startup, SocketFailureStopsBeforeCleanup) {
    FakeStartupPlatform platform;
    platform.command_line = L"/cleanup";
    platform.sockets_work = false;
    EXPECT_EQ(RunStartup(platform), StartupOutcome::kSocketFailure);
    EXPECT_EQ(platform.calls,
              After(kPrologue,
                    {L"InitSockets", L"ShowMessage Windows ソケットの初期化に失敗しました。"}));
}

TEST(Startup, CleanupRemovesProfileCopiesAndShortcutThenWaits) {
    FakeStartupPlatform platform;
    platform.command_line = L"-x \"/cleanup\"";
    EXPECT_EQ(RunStartup(platform), StartupOutcome::kCleanedUp);
    const std::wstring copies = L"C:\\Users\\u\\AppData\\Local\\VirtualStore\\";
    EXPECT_EQ(platform.calls,
              After(kPrologue,
                    {L"InitSockets", L"InstallProfilePath " + kProfile, L"RemoveFile " + kProfile,
                     L"LocalAppDataFolder",
                     L"RemoveFile " + copies +
                         L"Program Files (x86)\\Vandrel\\Quirn Mobile Tool\\QuirnMobileTool.INI",
                     L"RemoveFile " + copies +
                         L"Program Files\\Vandrel\\Quirn Mobile Tool\\QuirnMobileTool.INI",
                     L"SetAutostartShortcut remove", L"WaitForStandardInput"}));
}

TEST(Startup, CleanupWithoutAppDataFolderStillRemovesShortcut) {
    FakeStartupPlatform platform;
    platform.command_line = L"/cleanup";
    platform.local_app_data.reset();
    EXPECT_EQ(RunStartup(platform), StartupOutcome::kCleanedUp);
    EXPECT_EQ(platform.calls,
              After(kPrologue, {L"InitSockets", L"InstallProfilePath " + kProfile,
                                L"RemoveFile " + kProfile, L"LocalAppDataFolder",
                                L"SetAutostartShortcut remove", L"WaitForStandardInput"}));
}

TEST(Startup, OtherwiseTheDialogRuns) {
    for (const wchar_t* line : {L"", L"/CLEANUP extra"}) {
        FakeStartupPlatform platform;
        platform.command_line = line;
        EXPECT_EQ(RunStartup(platform), StartupOutcome::kDialogRan);
        EXPECT_EQ(platform.calls,
                  After(kPrologue,
                        {L"InitSockets", L"InstallProfilePath " + kProfile, L"RunMainDialog"}));
    }
}

TEST(StartupPaths, DerivedFromTheExecutable) {
    EXPECT_EQ(ExecutableBaseName(L"C:\\a.b\\Tool.v2.exe"), L"Tool.v2");
    EXPECT_EQ(ExecutableBaseName(L"C:\\a.b\\Tool"), L"Tool");
    EXPECT_EQ(DefaultProfileFileName(L"D:\\Tool.exe"), L"Tool.INI");
    EXPECT_EQ(ProfilePathBeside(L"D:\\x\\Tool.exe", L"Tool.INI"), L"D:\\x\\Tool.INI");
    // Without a directory the bare name stays relative instead of landing at the drive's root.
    EXPECT_EQ(ProfilePathBeside(L"Tool.exe", L"Tool.INI"), L"Tool.INI");
}

TEST(AutostartName, FromTheExecutablesFileName) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\x\\QuirnMobileTool.exe", L"\\QuirnMobileTool.lnk"},
        {L"C:\\x\\a.exe.exe", L"\\a.exe.lnk"},
        {L"C:\\dir.exe\\tool.bin", L"\\tool.bin.lnk"},
        {L"C:\\x\\Tool.EXE", L"\\Tool.EXE.lnk"},
        {L"C:\\x\\tool", L"\\tool.lnk"},
        {L"tool.exe", L"\\tool.lnk"},
    };
    for (const auto& [module, name] : cases) {
        EXPECT_EQ(ShortcutFileName(module), name) << module;
    }
    EXPECT_EQ(ShortcutPath(L"C:\\Startup", L"C:\\x\\QuirnMobileTool.exe"),
              L"C:\\Startup\\QuirnMobileTool.lnk");
}

}  // namespace
}  // namespace quirn
