// pixel_geometry.h: sizes, points and rectangles in pixels, and where a window opens centred.
#pragma once

namespace quirn {

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The top-left corner that centres a window of `size` over `around`, moved as little as needed
// to keep it inside `work` (the top-left corner wins when the window is larger than `work`).
PixelPoint CentredPosition(PixelRect around, PixelSize size, PixelRect work);

}  // namespace quirn
