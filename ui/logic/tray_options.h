// tray_options.h: what the two tray options of the settings mean for the window: what closing it
// does, and the check marks of the main menu's autostart and keep-in-tray items.
#pragma once

#include <cstdint>

namespace quirn {

// Closing the window (close box, system menu) hides it while the program keeps to the tray, and
// otherwise ends the program.
enum class CloseAction { kHide, kEnd };
CloseAction CloseActionFor(int32_t app_keep_task);

// The check marks of the main menu's autostart and keep-in-tray items, from the settings; the
// autostart shortcut follows the autostart mark.
struct MenuChecks {
    bool autostart;
    bool keep_in_tray;
    friend bool operator==(const MenuChecks&, const MenuChecks&) = default;
};
MenuChecks MenuChecksFor(int32_t app_startup, int32_t app_keep_task);

}  // namespace quirn
