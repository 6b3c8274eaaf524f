// version_detail_layout.h: the version detail dialog's layout: the text field fills the client area less
// a margin, and the OK button sits centred below it.
#pragma once

#include "ui/layout/display_scale.h"
#include "ui/layout/pixel_geometry.h"

namespace quirn {

struct DetailLayout {
    PixelRect button;  // OK button
    PixelRect text;    // the licence text field
};

// For the client rectangle `client` and the OK button's size: the button centred, 5 pixels above
// the bottom edge (its width rounded down to even); the text 10 pixels in from the left, top and
// right edges and 40 pixels clear of the bottom. The margins are those pixels at `scale`.
DetailLayout LayOutVersionDetail(PixelRect client, PixelSize button,
                                 const DisplayScale& scale = {});

}  // namespace quirn
