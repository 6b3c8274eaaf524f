// control_colour.h: the colours of the main window's own background and of its static controls.
#pragma once

namespace quirn {

// White both: the window's background and its statics' text background.
enum class ControlColour {
    kDefault,      // the system's brush
    kWhite,        // the white brush
    kWhiteStatic,  // white text background and the white brush
};
enum class ColourRequest { kDialog, kStatic, kOther };
ControlColour ChooseControlColour(ColourRequest request, bool is_dialog_itself);

}  // namespace quirn
