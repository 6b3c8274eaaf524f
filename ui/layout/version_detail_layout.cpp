// version_detail_layout.cpp: the version detail dialog's layout arithmetic.
#include "ui/layout/version_detail_layout.h"

namespace quirn {

DetailLayout LayOutVersionDetail(PixelRect client, PixelSize button) {
    const int half_button = button.width / 2;
    const int button_left = client.width() / 2 - half_button;
    const int button_top = client.bottom - 5 - button.height;
    const int text_left = client.left + 10;
    const int text_top = client.top + 10;
    return DetailLayout{
        {button_left, button_top, button_left + 2 * half_button, button_top + button.height},
        {text_left, text_top, text_left + client.width() - 20, text_top + client.height() - 50},
    };
}

}  // namespace quirn
