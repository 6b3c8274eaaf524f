// message_boxes.h: how the window's logic asks the user something: a message box with a
// string-table text, its buttons and its icon.
#pragma once

namespace quirn {

enum class MessageButtons { kOk, kOkCancel, kYesNo };
enum class MessageIcon { kNone, kInformation, kQuestion, kExclamation, kStop };
enum class MessageAnswer { kOk, kCancel, kYes, kNo };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;

    // Shows the text of string-table entry `string_id` with `buttons` and `icon`, and returns
    // the button chosen once the box is closed. A box that could not be shown answers kCancel
    // (or kNo for a Yes/No box). Called on the window's thread; the window's messages keep
    // flowing while the box is open.
    virtual MessageAnswer ShowMessage(int string_id, MessageButtons buttons, MessageIcon icon) = 0;
};

}  // namespace quirn
