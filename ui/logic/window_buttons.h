// window_buttons.h: the main window's buttons by name, and the control id each has in the
// dialog (the state machine and the dialog name them by id).
#pragma once

#include <optional>
#include <utility>

#include "res/resource.h"

namespace quirn {

// The main window's buttons: the five commands and the detail panel's.
enum class WindowButton { kReload, kSwitch, kReboot, kStandby, kCheck, kDetail };

inline constexpr std::pair<WindowButton, int> kWindowButtonIds[] = {
    {WindowButton::kReload, IDC_RELOAD}, {WindowButton::kSwitch, IDC_SWITCH},
    {WindowButton::kReboot, IDC_REBOOT}, {WindowButton::kStandby, IDC_STANDBY},
    {WindowButton::kCheck, IDC_CHECK},   {WindowButton::kDetail, IDC_DETAIL},
};

constexpr int ControlIdOf(WindowButton button) {
    for (const auto& [named, id] : kWindowButtonIds) {
        if (named == button) {
            return id;
        }
    }
    return 0;
}

// None for a control that is not one of the buttons.
constexpr std::optional<WindowButton> ButtonOf(int control_id) {
    for (const auto& [button, id] : kWindowButtonIds) {
        if (id == control_id) {
            return button;
        }
    }
    return std::nullopt;
}

}  // namespace quirn
