// autostart_shortcut.h: the shell shortcut in the user's Startup folder that starts the program
// at log-on.
#pragma once

namespace quirn::win32 {

// Creates (true) or removes (false) the shortcut to the running executable, named after it.
// Failures are silent. Called on the window's thread (which is also start-up's thread); it
// initialises OLE on that thread around a creation.
void SetAutostartShortcut(bool create);

}  // namespace quirn::win32
