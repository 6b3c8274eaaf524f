// control.cpp: subclassing of a dialog item and the small window helpers.
#include "platform/win32/framework/control.h"

#include <exception>
#include <vector>

#include "platform/win32/framework/dialog.h"

namespace quirn::win32 {
namespace {
constexpr const wchar_t* kOwnerProperty = L"quirn.OwnedControl";
}  // namespace

OwnedControl::~OwnedControl() {
    Detach();
}

bool OwnedControl::Attach(HWND dialog, int id) {
    HWND window = GetDlgItem(dialog, id);
    if (window == nullptr || hwnd_ != nullptr) {
        return false;
    }
    hwnd_ = window;
    SetPropW(window, kOwnerProperty, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
    OnAttached();
    return true;
}

OwnedControl* OwnedControl::FromWindow(HWND window) {
    return window != nullptr ? static_cast<OwnedControl*>(GetPropW(window, kOwnerProperty))
                             : nullptr;
}

std::optional<LRESULT> OwnedControl::OnMessage(UINT /*message*/, WPARAM /*wparam*/,
                                               LPARAM /*lparam*/) {
    return std::nullopt;
}

LRESULT OwnedControl::CallDefault(UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWindowProcW(original_, hwnd_, message, wparam, lparam);
}

void OwnedControl::Detach() {
    if (hwnd_ == nullptr) {
        return;
    }
    if (IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        RemovePropW(hwnd_, kOwnerProperty);
    }
    hwnd_ = nullptr;
}

LRESULT CALLBACK OwnedControl::ControlProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    OwnedControl* self = FromWindow(window);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    const WNDPROC original = self->original_;
    std::optional<LRESULT> result;
    try {
        result = self->OnMessage(message, wparam, lparam);
    } catch (const std::exception& fault) {
        ReportHandlerFault(fault);
    }
    if (message == WM_NCDESTROY) {
        // The window goes: give it its own procedure back before the last message reaches it.
        self->Detach();
    }
    return result ? *result : CallWindowProcW(original, window, message, wparam, lparam);
}

std::wstring EditControl::GetText() const {
    return WindowText(hwnd());
}

void EditControl::SetText(const std::wstring& text) {
    SetWindowTextW(hwnd(), text.c_str());
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (window == nullptr || length <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void MoveWindowTo(HWND window, int x, int y) {
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ResizeWindow(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace quirn::win32
