// gdi.cpp: bitmap sizes and the fonts derived from the stock system font.
#include "platform/win32/framework/gdi.h"

#include <cwchar>

namespace quirn::win32 {

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return SIZE{0, 0};
    }
    return SIZE{info.bmWidth, info.bmHeight};
}

Font CreateFontFromSystemFont(const FontChange& change) {
    LOGFONTW description{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(description), &description);
    description.lfHeight = change.height;
    description.lfWidth = 0;
    if (change.weight >= 0) {
        description.lfWeight = change.weight;
    }
    if (change.underline) {
        description.lfUnderline = TRUE;
    }
    wcsncpy(description.lfFaceName, change.face.c_str(), LF_FACESIZE - 1);
    description.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return Font(CreateFontIndirectW(&description));
}

}  // namespace quirn::win32
