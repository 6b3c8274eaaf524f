// The buttons' names and control ids: the state machine's ids reach the buttons they mean.
#include "ui/logic/window_buttons.h"

#include <gtest/gtest.h>

#include "state/app_state_window.h"

namespace quirn {
namespace {

TEST(WindowButtons, StateMachineIdsNameTheirButtons) {
    const std::pair<int, WindowButton> cases[] = {
        {kReloadButtonId, WindowButton::kReload}, {kSwitchButtonId, WindowButton::kSwitch},
        {kRebootButtonId, WindowButton::kReboot}, {kStandbyButtonId, WindowButton::kStandby},
        {kCheckButtonId, WindowButton::kCheck},   {kDetailButtonId, WindowButton::kDetail},
    };
    for (const auto& [id, button] : cases) {
        EXPECT_EQ(ButtonOf(id), button) << id;
        EXPECT_EQ(ControlIdOf(button), id) << id;
    }
    // Other controls are no button.
    EXPECT_EQ(ButtonOf(IDC_ANTENNA), std::nullopt);
    EXPECT_EQ(ButtonOf(0), std::nullopt);
}

}  // namespace
}  // namespace quirn
