// owned_message_boxes.h: the logic's message boxes as system message boxes owned by one of the
// program's windows.
#pragma once

#include <windows.h>

#include <string>

#include "ui/logic/message_boxes.h"

namespace quirn::win32 {

// Shows string-table entry `string_id` with `buttons` and `icon`, owned by `owner` (may be
// null), and returns the button chosen; a box that could not be shown answers the negative
// button of its kind.
MessageAnswer ShowOwnedMessage(HWND owner, int string_id, MessageButtons buttons, MessageIcon icon);

// Shows `text` with an OK button and `icon`, owned by no window, and waits until it is closed.
void ShowUnownedTextMessage(const std::wstring& text, MessageIcon icon);

// MessageBoxes over one window; the owner is read at each call, so it may be set later.
class OwnedMessageBoxes : public MessageBoxes {
  public:
    explicit OwnedMessageBoxes(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    MessageAnswer ShowMessage(int string_id, MessageButtons buttons, MessageIcon icon) override {
        return ShowOwnedMessage(owner_, string_id, buttons, icon);
    }

  private:
    HWND owner_;
};

}  // namespace quirn::win32
