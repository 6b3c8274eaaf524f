// connect_status_static.cpp: drawing of the connection status label.
#include "platform/win32/window/connect_status_static.h"

#include "platform/win32/framework/gdi.h"

namespace quirn::win32 {

CConnectStatusStatic::CConnectStatusStatic() = default;

CConnectStatusStatic::~CConnectStatusStatic() = default;

void CConnectStatusStatic::OnAttached() {
    SetScale(scale_);
}

void CConnectStatusStatic::SetScale(const DisplayScale& scale) {
    scale_ = scale;
    for (const auto& [code, id] : kConnectionPictures) {
        AddPicture(pictures_, id, scale);
    }
    if (hwnd() != nullptr) {
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

std::optional<LRESULT> CConnectStatusStatic::OnMessage(UINT message, WPARAM /*wparam*/,
                                                       LPARAM /*lparam*/) {
    if (message != WM_PAINT) {
        return std::nullopt;
    }
    PaintDc paint(hwnd());
    // A code without a picture draws nothing: the skin below shows through.
    const std::optional<int> id = label.Picture();
    HBITMAP picture = id ? FindPicture(pictures_, *id) : nullptr;
    if (picture != nullptr) {
        MemoryDc memory(paint.get());
        DrawPicture(hwnd(), paint.get(), memory.get(), picture);
    }
    return 0;
}

}  // namespace quirn::win32
