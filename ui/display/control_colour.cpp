// control_colour.cpp: the colour answer to each of the window's colour requests.
#include "ui/display/control_colour.h"

namespace quirn {

ControlColour ChooseControlColour(ColourRequest request, bool is_dialog_itself) {
    if (request == ColourRequest::kDialog && is_dialog_itself) {
        return ControlColour::kWhite;
    }
    if (request == ColourRequest::kStatic) {
        return ControlColour::kWhiteStatic;
    }
    return ControlColour::kDefault;
}

}  // namespace quirn
