// version_detail_layout.cpp: the version detail dialog's layout arithmetic.
#include "ui/layout/version_detail_layout.h"

namespace quirn {

DetailLayout LayOutVersionDetail(PixelRect client, PixelSize button, const DisplayScale& scale) {
    const int margin = scale(10);
    const int half_button = button.width / 2;
    const int button_left = client.width() / 2 - half_button;
    const int button_top = client.bottom - scale(5) - button.height;
    const int text_left = client.left + margin;
    const int text_top = client.top + margin;
    return DetailLayout{
        {button_left, button_top, button_left + 2 * half_button, button_top + button.height},
        {text_left, text_top, client.right - margin, client.bottom - scale(40)},
    };
}

}  // namespace quirn
