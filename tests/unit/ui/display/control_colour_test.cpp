// The colours of the main window's background and of its statics.
#include "ui/display/control_colour.h"

#include <gtest/gtest.h>

namespace quirn {
namespace {

TEST(ControlColour, WindowAndStaticsAreWhite) {
    EXPECT_EQ(ChooseControlColour(ColourRequest::kDialog, true), ControlColour::kWhite);
    // A dialog colour request for another window (a child dialog) keeps the default.
    EXPECT_EQ(ChooseControlColour(ColourRequest::kDialog, false), ControlColour::kDefault);
    EXPECT_EQ(ChooseControlColour(ColourRequest::kStatic, false), ControlColour::kWhiteStatic);
    EXPECT_EQ(ChooseControlColour(ColourRequest::kOther, true), ControlColour::kDefault);
}

}  // namespace
}  // namespace quirn
