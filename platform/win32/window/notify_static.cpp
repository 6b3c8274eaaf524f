// notify_static.cpp: drawing of the notice strip.
#include "platform/win32/window/notify_static.h"

#include "platform/win32/framework/resources.h"
#include "platform/win32/window/label_drawing.h"

namespace quirn::win32 {

CNotifyStatic::CNotifyStatic() = default;

CNotifyStatic::~CNotifyStatic() = default;

void CNotifyStatic::OnAttached() {
    SetScale(scale_);
}

void CNotifyStatic::SetScale(const DisplayScale& scale) {
    scale_ = scale;
    font_ = CreateLabelFont(kNoticeFont, scale);
    strip_ = LoadScaledBitmap(kNoticeStripBitmap, scale);
    const SIZE size = BitmapSize(strip_.get());
    strip_rect_ = RECT{0, 0, size.cx, size.cy};
    if (hwnd() != nullptr) {
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

std::optional<LRESULT> CNotifyStatic::OnMessage(UINT message, WPARAM /*wparam*/,
                                                LPARAM /*lparam*/) {
    if (message != WM_PAINT) {
        return std::nullopt;
    }
    Paint();
    return 0;
}

void CNotifyStatic::Paint() {
    PaintDc paint(hwnd());
    MemoryDc memory(paint.get());
    SelectedObject selected(memory.get(), strip_.get());
    RECT client{};
    GetClientRect(hwnd(), &client);
    ResizeWindow(hwnd(), strip_rect_.right, strip_rect_.bottom);
    if (strip_) {
        BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    SelectedObject font(paint.get(), font_.get());
    // Text past the strip's right edge is cut off by the control's bounds.
    DrawTextPass(paint.get(), label.Text(), Scaled(kNoticeTextPass, scale_));
}

}  // namespace quirn::win32
