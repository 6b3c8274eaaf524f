// startup.h: the process start-up sequence, free of the platform.
#pragma once

#include "app/startup_platform.h"

namespace quirn {

// How start-up ended; the process exits after any of them.
enum class StartupOutcome {
    kSecondInstance,  // another instance runs: its window was brought forward, nothing else done
    kSocketFailure,   // the socket layer could not be initialised: message shown
    kCleanedUp,       // "/cleanup": profile, its per-user copies and the shortcut removed
    kDialogRan,       // the main dialog ran and has ended
};

// Runs start-up in its fixed order: common controls, command line, single-instance mutex,
// sockets, profile path, then either the "/cleanup" run or the main dialog. A second instance
// touches neither the profile nor the network.
StartupOutcome RunStartup(StartupPlatform& platform);

}  // namespace quirn
