// text_style.h: how the display controls draw their texts: the font to create, and where and in
// which colour each drawing of a text goes.
#pragma once

#include <cstdint>

#include "ui/layout/display_scale.h"

namespace quirn {

// A font made from the description of the stock system font with these three changes (width 0,
// every other attribute the stock font's).
struct LabelFont {
    int face_string_id;  // string-table id of the face name
    int height;          // pixels at 96 DPI
    int weight;          // 700 is bold
};

// The font at `scale`: its height grows with the window.
inline LabelFont Scaled(const LabelFont& font, const DisplayScale& scale) {
    return LabelFont{font.face_string_id, scale(font.height), font.weight};
}

struct Colour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};

// One drawing of a text, with a transparent background, its top-left corner at (x, y) of the
// control.
struct TextPass {
    int x;
    int y;
    Colour colour;
};

// A pass of the 96-DPI layout at `scale`.
inline TextPass Scaled(const TextPass& pass, const DisplayScale& scale) {
    return TextPass{scale(pass.x), scale(pass.y), pass.colour};
}

}  // namespace quirn
