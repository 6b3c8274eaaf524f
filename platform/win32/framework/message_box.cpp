// message_box.cpp: message boxes with the program's title as caption.
#include "platform/win32/framework/message_box.h"

#include "res/strings.h"
#include "platform/win32/framework/resources.h"

namespace quirn::win32 {

int ShowMessageBox(HWND owner, const std::wstring& text, UINT type) {
    const std::wstring caption = LoadResourceString(kAppTitleText);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

int ShowMessageBox(HWND owner, int string_id, UINT type) {
    return ShowMessageBox(owner, LoadResourceString(string_id), type);
}

}  // namespace quirn::win32
