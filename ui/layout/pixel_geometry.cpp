// pixel_geometry.cpp: centring a window.
#include "ui/layout/pixel_geometry.h"

#include <algorithm>

namespace quirn {

PixelPoint CentredPosition(PixelRect around, PixelSize size, PixelRect work) {
    int x = around.left + (around.width() - size.width) / 2;
    int y = around.top + (around.height() - size.height) / 2;
    x = std::max(work.left, std::min(x, work.right - size.width));
    y = std::max(work.top, std::min(y, work.bottom - size.height));
    return PixelPoint{x, y};
}

}  // namespace quirn
