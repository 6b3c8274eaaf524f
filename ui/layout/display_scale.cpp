// display_scale.cpp: choosing the scale and scaling the layout's values by it.
#include "ui/layout/display_scale.h"

namespace quirn {

DisplayScale DisplayScale::ForDpi(int dpi) {
    for (int step = 0; step < static_cast<int>(kPictureScales.size()); ++step) {
        if (dpi * 100 <= kPictureScales[step] * 96) {
            return DisplayScale(step);
        }
    }
    return DisplayScale(static_cast<int>(kPictureScales.size()) - 1);
}

int DisplayScale::operator()(int pixels) const {
    const int magnitude = pixels < 0 ? -pixels : pixels;
    const int scaled = (magnitude * percent() + 50) / 100;
    return pixels < 0 ? -scaled : scaled;
}

PixelPoint DisplayScale::operator()(PixelPoint point) const {
    return PixelPoint{(*this)(point.x), (*this)(point.y)};
}

PixelSize DisplayScale::operator()(PixelSize size) const {
    return PixelSize{(*this)(size.width), (*this)(size.height)};
}

PixelRect DisplayScale::operator()(PixelRect rect) const {
    const PixelPoint corner = (*this)(PixelPoint{rect.left, rect.top});
    const PixelSize size = (*this)(PixelSize{rect.width(), rect.height()});
    return PixelRect{corner.x, corner.y, corner.x + size.width, corner.y + size.height};
}

std::wstring DisplayScale::PictureName(const std::wstring& name) const {
    return step_ == 0 ? name : name + L"_" + std::to_wstring(percent());
}

DpiChange PlanDpiChange(DisplayScale current, int new_dpi, PixelRect suggested) {
    const DisplayScale scale = DisplayScale::ForDpi(new_dpi);
    return DpiChange{scale, !(scale == current), PixelPoint{suggested.left, suggested.top}};
}

}  // namespace quirn
