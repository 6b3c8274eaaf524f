// startup_platform.h: the operating-system operations that start-up needs.
//
// The Windows program implements this over Win32; tests use a fake that records the calls. All
// calls happen on the main thread before any other thread exists. The names differ from the
// Win32 functions (some of which are macros) so that the implementation can call those.
#pragma once

#include <optional>
#include <string>

namespace quirn {

enum class InstanceMutex {
    kCreated,        // this process now holds the name
    kAlreadyExists,  // another instance holds it
};

class StartupPlatform {
  public:
    virtual ~StartupPlatform() = default;

    // Initialises the common window controls.
    virtual void InitWindowControls() = 0;
    // The arguments of the command line, without the program name.
    virtual std::wstring CommandLine() = 0;
    // The full path of the running executable; empty when it cannot be had.
    virtual std::wstring ModulePath() = 0;
    // Creates the named single-instance mutex, held until the process ends.
    virtual InstanceMutex CreateInstanceMutex(const std::wstring& name) = 0;
    // Shows the top-level window titled exactly `title` in its normal state and brings it to the
    // foreground; false when there is no such window.
    virtual bool ActivateWindow(const std::wstring& title) = 0;
    // Initialises the socket layer; false on failure.
    virtual bool InitSockets() = 0;
    // Shows `text` in a message box with an OK button and returns when it is closed.
    virtual void ShowMessage(const std::wstring& text) = 0;
    // Makes `path` the file that every later settings read and write goes to.
    virtual void InstallProfilePath(const std::wstring& path) = 0;
    // The current user's local application data folder, if it can be determined.
    virtual std::optional<std::wstring> LocalAppDataFolder() = 0;
    // Deletes a file; a missing file or a refusal is not reported.
    virtual void RemoveFile(const std::wstring& path) = 0;
    // Creates (true) or removes (false) the autostart shortcut; failures are silent.
    virtual void SetAutostartShortcut(bool create) = 0;
    // Waits for one character (or end of input) on standard input.
    virtual void WaitForStandardInput() = 0;
    // Runs the main dialog modally and returns when it has ended.
    virtual void RunMainDialog() = 0;
};

}  // namespace quirn
