// bitmap_button.cpp: picture loading and drawing of the bitmap button.
#include "platform/win32/framework/bitmap_button.h"

#include "ui/layout/button_picture.h"
#include "platform/win32/framework/resources.h"

namespace quirn::win32 {

bool BitmapButton::LoadBitmaps(const std::wstring& up, const std::wstring& down,
                               const std::wstring& focused, const std::wstring& disabled,
                               const DisplayScale& scale) {
    up_ = LoadScaledBitmap(up, scale);
    down_ = LoadScaledBitmap(down, scale);
    focused_ = LoadScaledBitmap(focused, scale);
    disabled_ = LoadScaledBitmap(disabled, scale);
    if (hwnd() != nullptr) {
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
    return static_cast<bool>(up_);
}

bool BitmapButton::AutoLoad(HWND dialog, int id, const DisplayScale& scale) {
    return Attach(dialog, id) && LoadOwnPictures(scale);
}

bool BitmapButton::Rescale(const DisplayScale& scale) {
    return hwnd() != nullptr && LoadOwnPictures(scale);
}

bool BitmapButton::LoadOwnPictures(const DisplayScale& scale) {
    const std::wstring base = WindowText(hwnd());
    if (!LoadBitmaps(base + L"U", base + L"D", base + L"F", base + L"X", scale)) {
        return false;
    }
    const SIZE size = BitmapSize(up_.get());
    ResizeWindow(hwnd(), size.cx, size.cy);
    return true;
}

bool BitmapButton::DrawItem(const DRAWITEMSTRUCT& item) {
    const ButtonState state{(item.itemState & ODS_SELECTED) != 0, (item.itemState & ODS_FOCUS) != 0,
                            (item.itemState & ODS_DISABLED) != 0};
    const ButtonPictureSet pictures{static_cast<bool>(down_), static_cast<bool>(focused_),
                                    static_cast<bool>(disabled_)};
    HBITMAP picture = up_.get();
    switch (ChooseButtonPicture(state, pictures)) {
        case ButtonPicture::kDown:
            picture = down_.get();
            break;
        case ButtonPicture::kFocused:
            picture = focused_.get();
            break;
        case ButtonPicture::kDisabled:
            picture = disabled_.get();
            break;
        case ButtonPicture::kUp:
            break;
    }
    if (picture == nullptr) {
        return true;  // nothing to show; the button stays as the skin painted it
    }
    MemoryDc memory(item.hDC);
    SelectedObject selected(memory.get(), picture);
    const RECT& area = item.rcItem;
    BitBlt(item.hDC, area.left, area.top, area.right - area.left, area.bottom - area.top,
           memory.get(), 0, 0, SRCCOPY);
    return true;
}

}  // namespace quirn::win32
