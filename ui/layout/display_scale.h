// display_scale.h: the one scale the whole window is drawn at on a display of a given DPI.
//
// The layout is written in pixels at 96 DPI and the pictures are drawn at five scales, so the
// window takes the smallest of those scales that is at least the display's: its positions, sizes
// and fonts grow by that scale, and its pictures are the ones drawn for it, never stretched. At
// the usual settings (100, 125, 150, 175 and 200 %) that is the display's own scale.
#pragma once

#include <array>
#include <string>

#include "ui/layout/pixel_geometry.h"

namespace quirn {

// The scales the pictures are drawn at, in percent of 96 DPI.
inline constexpr std::array<int, 5> kPictureScales{100, 125, 150, 175, 200};

// A scaled picture's resource: numeric ids move up by this much per step of kPictureScales,
// names get "_" and the percentage.
inline constexpr int kScaledIdStep = 1000;

class DisplayScale {
  public:
    // 100 %: every value as the layout has it.
    constexpr DisplayScale() = default;

    // The smallest picture scale at least `dpi`'s; 100 % below 96 DPI (and for a DPI that
    // cannot be read, 0 or less), 200 % above 192.
    static DisplayScale ForDpi(int dpi);

    int percent() const { return kPictureScales[step_]; }
    // The DPI this scale draws for: 96, 120, 144, 168 or 192.
    int dpi() const { return percent() * 96 / 100; }

    // A length or coordinate of the 96-DPI layout at this scale, rounded to the nearest pixel
    // with halves away from zero, so that a value and its negation scale alike.
    int operator()(int pixels) const;
    PixelPoint operator()(PixelPoint point) const;
    PixelSize operator()(PixelSize size) const;
    // The top-left corner and the size are scaled each on its own, as the layout places a
    // control at a point and gives it the size of its picture.
    PixelRect operator()(PixelRect rect) const;

    // The resource of a picture drawn at this scale, from its 100 % id or name.
    int PictureId(int id) const { return id + kScaledIdStep * step_; }
    std::wstring PictureName(const std::wstring& name) const;

    friend bool operator==(const DisplayScale&, const DisplayScale&) = default;

  private:
    explicit constexpr DisplayScale(int step) : step_(step) {}
    int step_ = 0;  // index into kPictureScales
};

// What the window does when Windows tells it that its DPI changed (it moved to another display,
// or the user changed the scaling).
struct DpiChange {
    DisplayScale scale;    // the scale to draw at from now on
    bool reload_pictures;  // the pictures (and fonts) of the new scale must be loaded
    PixelPoint position;   // where the window goes: the corner of the rectangle Windows suggests
};

DpiChange PlanDpiChange(DisplayScale current, int new_dpi, PixelRect suggested);

}  // namespace quirn
