// application.cpp: the application object and the program's entry point.
#include "platform/win32/app/application.h"

#include <windows.h>

#include "app/startup.h"
#include "platform/win32/app/startup_platform_win32.h"
#include "platform/win32/window/main_dialog.h"

namespace quirn::win32 {

CLumoraApp::CLumoraApp(std::wstring command_line) : command_line_(std::move(command_line)) {}

CLumoraApp::~CLumoraApp() = default;

bool CLumoraApp::InitInstance() {
    Win32StartupPlatform platform(command_line_, profile_, [this] {
        CLumoraDlg dialog(profile_);
        dialog.DoModal();
    });
    RunStartup(platform);
    return false;
}

}  // namespace quirn::win32

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR command_line,
                    int /*show*/) {
    quirn::win32::CLumoraApp app(command_line != nullptr ? command_line : L"");
    app.InitInstance();
    return 0;
}
