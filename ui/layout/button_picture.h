// button_picture.h: which picture of a bitmap button shows for the button's state.
#pragma once

namespace quirn {

enum class ButtonPicture {
    kUp,        // released, without focus
    kDown,      // pressed
    kFocused,   // released, with the keyboard focus
    kDisabled,  // greyed
};

struct ButtonState {
    bool pressed = false;
    bool focused = false;
    bool disabled = false;
};

// Which optional pictures the button has; the up picture is always there.
struct ButtonPictureSet {
    bool down = false;
    bool focused = false;
    bool disabled = false;
};

// Pressed shows the down picture, else focus the focused one, else a disabled button the
// disabled one; a state whose picture is missing shows the up picture.
ButtonPicture ChooseButtonPicture(const ButtonState& state, const ButtonPictureSet& pictures);

}  // namespace quirn
