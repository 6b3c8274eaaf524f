// startup_platform_win32.h: start-up's platform operations over Win32.
#pragma once

#include <functional>
#include <string>

#include "app/startup_platform.h"
#include "platform/win32/profile_store_win32.h"

namespace quirn::win32 {

class Win32StartupPlatform : public StartupPlatform {
  public:
    // `command_line` holds the arguments without the program name; `profile` receives the
    // profile path; `run_main_dialog` runs the main dialog modally. All three outlive this object.
    Win32StartupPlatform(std::wstring command_line, Win32ProfileStore& profile,
                         std::function<void()> run_main_dialog);

    void InitWindowControls() override;
    std::wstring CommandLine() override;
    std::wstring ModulePath() override;
    InstanceMutex CreateInstanceMutex(const std::wstring& name) override;
    bool ActivateWindow(const std::wstring& title) override;
    bool InitSockets() override;
    void ShowMessage(const std::wstring& text) override;
    void InstallProfilePath(const std::wstring& path) override;
    std::optional<std::wstring> LocalAppDataFolder() override;
    void RemoveFile(const std::wstring& path) override;
    void SetAutostartShortcut(bool create) override;
    void WaitForStandardInput() override;
    void RunMainDialog() override;

  private:
    std::wstring command_line_;
    Win32ProfileStore& profile_;
    std::function<void()> run_main_dialog_;
};

}  // namespace quirn::win32
