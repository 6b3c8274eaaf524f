// startup.cpp: the order of the start-up steps and the "/cleanup" run.
#include "app/startup.h"

#include "app/command_line.h"
#include "app/startup_paths.h"
#include "res/strings.h"

namespace quirn {

StartupOutcome RunStartup(StartupPlatform& platform) {
    platform.InitWindowControls();
    const std::wstring module_path = platform.ModulePath();
    const std::wstring bare_name = DefaultProfileFileName(module_path);
    const bool cleanup = HasCleanupSwitch(TokenizeCommandLine(platform.CommandLine()));

    // The mutex comes first so that a second start never reaches the profile or the network.
    if (platform.CreateInstanceMutex(ExecutableBaseName(module_path)) ==
        InstanceMutex::kAlreadyExists) {
        platform.ActivateWindow(StringText(kAppTitleText));
        return StartupOutcome::kSecondInstance;
    }

    if (!platform.InitSockets()) {
        platform.ShowMessage(StringText(kSocketInitFailedText));
        return StartupOutcome::kSocketFailure;
    }

    const std::wstring profile_path = ProfilePathBeside(module_path, bare_name);
    platform.InstallProfilePath(profile_path);

    if (cleanup) {
        platform.RemoveFile(profile_path);
        if (const auto local_app_data = platform.LocalAppDataFolder()) {
            for (const std::wstring& copy : VirtualisedProfileCopies(*local_app_data, bare_name)) {
                platform.RemoveFile(copy);
            }
        }
        platform.SetAutostartShortcut(false);
        platform.WaitForStandardInput();
        return StartupOutcome::kCleanedUp;
    }

    platform.RunMainDialog();
    return StartupOutcome::kDialogRan;
}

}  // namespace quirn
