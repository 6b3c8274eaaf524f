// button_picture.cpp: the bitmap button's picture choice.
#include "ui/layout/button_picture.h"

namespace quirn {

ButtonPicture ChooseButtonPicture(const ButtonState& state, const ButtonPictureSet& pictures) {
    if (state.pressed && pictures.down) {
        return ButtonPicture::kDown;
    }
    if (state.focused && pictures.focused) {
        return ButtonPicture::kFocused;
    }
    if (state.disabled && pictures.disabled) {
        return ButtonPicture::kDisabled;
    }
    return ButtonPicture::kUp;
}

}  // namespace quirn
