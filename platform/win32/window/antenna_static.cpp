// antenna_static.cpp: drawing of the signal antenna.
#include "platform/win32/window/antenna_static.h"

namespace quirn::win32 {

CAntennaStatic::CAntennaStatic() : antenna(LoadPictures(pictures_)) {}

CAntennaStatic::~CAntennaStatic() = default;

std::map<int32_t, int> CAntennaStatic::LoadPictures(PictureSet& pictures,
                                                    const DisplayScale& scale) {
    std::map<int32_t, int> loaded;
    for (const auto& [key, id] : StandardAntennaPictures()) {
        if (AddPicture(pictures, id, scale)) {
            loaded.emplace(key, id);
        }
    }
    return loaded;
}

void CAntennaStatic::SetScale(const DisplayScale& scale) {
    // Each picture falls back to its 100 % one, so the model's set of pictures stays the same.
    LoadPictures(pictures_, scale);
    if (hwnd() != nullptr) {
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

void CAntennaStatic::OnAttached() {
    WindowDc window(hwnd());
    memory_ = MemoryDc(window.get());
}

std::optional<LRESULT> CAntennaStatic::OnMessage(UINT message, WPARAM /*wparam*/,
                                                 LPARAM /*lparam*/) {
    if (message != WM_PAINT) {
        return std::nullopt;
    }
    PaintDc paint(hwnd());
    Draw();
    return 0;
}

void CAntennaStatic::Draw() {
    const std::optional<int> id = antenna.ChoosePicture();
    if (!id || !memory_) {
        return;
    }
    WindowDc window(hwnd());
    DrawPicture(hwnd(), window.get(), memory_.get(), FindPicture(pictures_, *id));
}

}  // namespace quirn::win32
