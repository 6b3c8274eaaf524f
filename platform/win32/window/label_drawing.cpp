// label_drawing.cpp: fonts, texts and pictures of the status controls.
#include "platform/win32/window/label_drawing.h"

#include "res/strings.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/resources.h"

namespace quirn::win32 {

Font CreateLabelFont(const LabelFont& font, const DisplayScale& scale) {
    const LabelFont scaled = Scaled(font, scale);
    return CreateFontFromSystemFont(
        FontChange{scaled.height, scaled.weight, false, StringText(scaled.face_string_id)});
}

void DrawTextPass(HDC dc, const std::wstring& text, const TextPass& pass) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(pass.colour.red, pass.colour.green, pass.colour.blue));
    TextOutW(dc, pass.x, pass.y, text.c_str(), static_cast<int>(text.size()));
}

bool AddPicture(PictureSet& pictures, int id, const DisplayScale& scale) {
    Bitmap bitmap = LoadScaledBitmap(id, scale);
    if (!bitmap) {
        return false;
    }
    pictures.insert_or_assign(id, std::move(bitmap));
    return true;
}

HBITMAP FindPicture(const PictureSet& pictures, int id) {
    const auto found = pictures.find(id);
    return found != pictures.end() ? found->second.get() : nullptr;
}

SIZE DrawPicture(HWND control, HDC target, HDC memory, HBITMAP picture) {
    const SIZE size = BitmapSize(picture);
    ResizeWindow(control, size.cx, size.cy);
    SelectedObject selected(memory, picture);
    BitBlt(target, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    return size;
}

}  // namespace quirn::win32
