// battery_static.cpp: drawing and animation of the battery gauge.
#include "platform/win32/window/battery_static.h"

#include "res/resource.h"

namespace quirn::win32 {
namespace {
constexpr UINT_PTR kAnimationTimerId = 1;
}  // namespace

CBatteryStatic::CBatteryStatic() {
    SetScale(DisplayScale());
}

void CBatteryStatic::SetScale(const DisplayScale& scale) {
    scale_ = scale;
    font_ = CreateLabelFont(kBatteryFont, scale);
    for (int id : kBatteryFrameIds) {
        AddPicture(frames_, id, scale);
    }
    for (int id : kBatteryChargingFrameIds) {
        AddPicture(frames_, id, scale);
    }
    if (hwnd() != nullptr) {
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

CBatteryStatic::~CBatteryStatic() = default;

void CBatteryStatic::OnAttached() {
    {
        WindowDc window(hwnd());
        memory_ = MemoryDc(window.get());
    }
    battery.StartAnimation(static_cast<int64_t>(GetTickCount64()));
    SetTimer(hwnd(), kAnimationTimerId, Battery::kAnimationTimerMs, nullptr);
}

std::optional<LRESULT> CBatteryStatic::OnMessage(UINT message, WPARAM /*wparam*/,
                                                 LPARAM /*lparam*/) {
    switch (message) {
        case WM_PAINT: {
            PaintDc paint(hwnd());
            Draw();
            return 0;
        }
        case WM_TIMER:
            if (battery.Animate(static_cast<int64_t>(GetTickCount64()))) {
                InvalidateRect(hwnd(), nullptr, TRUE);
            }
            return std::nullopt;  // the static's own processing follows
        default:
            return std::nullopt;
    }
}

void CBatteryStatic::Draw() {
    const BatteryFace face = battery.Face();
    HBITMAP frame = FindPicture(frames_, face.frame);
    if (frame == nullptr || !memory_) {
        return;
    }
    WindowDc window(hwnd());
    const SIZE size = DrawPicture(hwnd(), window.get(), memory_.get(), frame);
    if (face.text.empty()) {
        return;
    }
    SelectedObject font(window.get(), font_.get());
    SIZE text{};
    GetTextExtentPoint32W(window.get(), face.text.c_str(), static_cast<int>(face.text.size()),
                          &text);
    for (const TextPass& pass : BatteryTextPasses(size.cx, text.cx, scale_)) {
        DrawTextPass(window.get(), face.text, pass);
    }
}

}  // namespace quirn::win32
