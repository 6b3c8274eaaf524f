// resources.cpp: resource loading from the executable.
#include "platform/win32/framework/resources.h"

namespace quirn::win32 {

HINSTANCE ModuleInstance() {
    return GetModuleHandleW(nullptr);
}

std::wstring LoadResourceString(int id) {
    // With a zero buffer size LoadStringW hands out a pointer into the read-only resource.
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(ModuleInstance(), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<size_t>(length))
                                         : std::wstring();
}

Bitmap LoadBitmapResource(int id) {
    return Bitmap(static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

Bitmap LoadBitmapResource(const std::wstring& name) {
    return Bitmap(static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

Bitmap LoadScaledBitmap(int id, const DisplayScale& scale) {
    Bitmap scaled = LoadBitmapResource(scale.PictureId(id));
    return scaled ? std::move(scaled) : LoadBitmapResource(id);
}

Bitmap LoadScaledBitmap(const std::wstring& name, const DisplayScale& scale) {
    Bitmap scaled = LoadBitmapResource(scale.PictureName(name));
    return scaled ? std::move(scaled) : LoadBitmapResource(name);
}

Icon LoadOwnedIcon(int id, int width, int height) {
    return Icon(static_cast<HICON>(LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                              width, height, LR_DEFAULTCOLOR)));
}

HICON LoadIconResource(int id, int width, int height) {
    return static_cast<HICON>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_SHARED));
}

HCURSOR LoadCursorResource(int id) {
    return static_cast<HCURSOR>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_SHARED));
}

}  // namespace quirn::win32
