// owned_message_boxes.cpp: the logic's buttons and icons in the system's message box flags.
#include "platform/win32/window/owned_message_boxes.h"

#include "platform/win32/framework/message_box.h"

namespace quirn::win32 {
namespace {

UINT ButtonFlags(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::kOkCancel:
            return MB_OKCANCEL;
        case MessageButtons::kYesNo:
            return MB_YESNO;
        case MessageButtons::kOk:
            break;
    }
    return MB_OK;
}

UINT IconFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kInformation:
            return MB_ICONINFORMATION;
        case MessageIcon::kQuestion:
            return MB_ICONQUESTION;
        case MessageIcon::kExclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::kStop:
            return MB_ICONSTOP;
        case MessageIcon::kNone:
            break;
    }
    return 0;
}

}  // namespace

MessageAnswer ShowOwnedMessage(HWND owner, int string_id, MessageButtons buttons,
                               MessageIcon icon) {
    switch (ShowMessageBox(owner, string_id, ButtonFlags(buttons) | IconFlags(icon))) {
        case IDOK:
            return MessageAnswer::kOk;
        case IDYES:
            return MessageAnswer::kYes;
        case IDNO:
            return MessageAnswer::kNo;
        default:
            return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kCancel;
    }
}

void ShowUnownedTextMessage(const std::wstring& text, MessageIcon icon) {
    // Without an owner to come forward with, the box asks for the foreground itself.
    ShowMessageBox(nullptr, text, MB_OK | MB_SETFOREGROUND | IconFlags(icon));
}

}  // namespace quirn::win32
