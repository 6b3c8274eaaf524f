// tray_options.cpp: closing the window and the menu's check marks, from the tray options.
#include "ui/logic/tray_options.h"

namespace quirn {

CloseAction CloseActionFor(int32_t app_keep_task) {
    return app_keep_task != 0 ? CloseAction::kHide : CloseAction::kEnd;
}

MenuChecks MenuChecksFor(int32_t app_startup, int32_t app_keep_task) {
    return MenuChecks{app_startup == 1, app_keep_task == 1};
}

}  // namespace quirn
