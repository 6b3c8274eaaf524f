// What the tray options mean for the window: closing it and the menu's check marks.
#include "ui/logic/tray_options.h"

#include <gtest/gtest.h>

namespace quirn {
namespace {

TEST(TrayOptions, ClosingHidesOnlyWhileKeepingToTheTray) {
    EXPECT_EQ(CloseActionFor(1), CloseAction::kHide);
    EXPECT_EQ(CloseActionFor(0), CloseAction::kEnd);
    // Any value but 0 keeps the program in the tray.
    EXPECT_EQ(CloseActionFor(2), CloseAction::kHide);
    EXPECT_EQ(CloseActionFor(-1), CloseAction::kHide);
}

TEST(TrayOptions, MenuChecksNeedExactlyOne) {
    EXPECT_EQ(MenuChecksFor(1, 1), (MenuChecks{true, true}));
    EXPECT_EQ(MenuChecksFor(0, 0), (MenuChecks{false, false}));
    EXPECT_EQ(MenuChecksFor(2, -1), (MenuChecks{false, false}));
    EXPECT_EQ(MenuChecksFor(1, 0), (MenuChecks{true, false}));
}

}  // namespace
}  // namespace quirn
