// dialog.cpp: the dialog procedure, the message dispatch and the modal loop.
#include "platform/win32/framework/dialog.h"

#include <string>

#include "ui/layout/pixel_geometry.h"
#include "platform/win32/framework/control.h"
#include "platform/win32/framework/resources.h"

namespace quirn::win32 {
namespace {

// Messages whose result a dialog procedure returns directly instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}

// Centres `window` over `owner` when that is shown and not minimised, else over the work area of
// the monitor, keeping it inside that work area.
void CentreOnOwner(HWND window, HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : window, MONITOR_DEFAULTTONEAREST),
                    &monitor);
    RECT around = monitor.rcWork;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &around);
    }
    RECT own{};
    GetWindowRect(window, &own);
    const RECT& work = monitor.rcWork;
    const PixelPoint at =
        CentredPosition(PixelRect{around.left, around.top, around.right, around.bottom},
                        PixelSize{own.right - own.left, own.bottom - own.top},
                        PixelRect{work.left, work.top, work.right, work.bottom});
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void ReportHandlerFault(const std::exception& fault) {
    std::string line = "QuirnMobileTool: handler fault: ";
    line += fault.what();
    line += "\n";
    OutputDebugStringA(line.c_str());
}

Dialog::Dialog(int template_id, HWND owner) : template_id_(template_id), owner_(owner) {}

Dialog::~Dialog() {
    if (HWND window = hwnd_.exchange(nullptr); window != nullptr && IsWindow(window)) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        DestroyWindow(window);
    }
}

INT_PTR Dialog::DoModal() {
    ended_ = false;
    result_ = -1;
    const bool disable_owner = owner_ != nullptr && IsWindowEnabled(owner_);
    if (CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(template_id_), owner_, &DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr) {
        return -1;
    }
    if (disable_owner) {
        EnableWindow(owner_, FALSE);
    }
    // A template without the visible style is shown like the system's own modal dialogs.
    if (!ended_ && hwnd() != nullptr && (GetWindowLongPtrW(hwnd(), GWL_STYLE) & WS_VISIBLE) == 0) {
        ShowWindow(hwnd(), SW_SHOWNORMAL);
    }

    MSG message{};
    while (!ended_ && hwnd() != nullptr) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) {
            break;
        }
        if (got == 0) {
            // WM_QUIT belongs to an outer loop: leave and hand it on.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!FilteredBeforeDispatch(message) && !IsDialogMessageW(hwnd(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // The owner is enabled before the dialog goes, so that it receives the activation.
    if (disable_owner) {
        EnableWindow(owner_, TRUE);
    }
    if (HWND window = hwnd(); window != nullptr) {
        DestroyWindow(window);
    }
    return result_;
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (HWND window = hwnd(); window != nullptr) {
        PostMessageW(window, WM_NULL, 0, 0);  // wakes the loop if the call came from elsewhere
    }
}

bool Dialog::OnCommand(int id, int /*code*/, HWND /*control*/) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool Dialog::PreTranslateMessage(MSG& /*message*/) {
    return false;
}

bool Dialog::FilteredBeforeDispatch(MSG& message) {
    try {
        return PreTranslateMessage(message);
    } catch (const std::exception& fault) {
        OnHandlerFault(fault);
        return false;
    }
}

std::optional<LRESULT> Dialog::OnMessage(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/) {
    return std::nullopt;
}

void Dialog::OnHandlerFault(const std::exception& fault) {
    ReportHandlerFault(fault);
}

LRESULT Dialog::DefaultControlColour(UINT message, WPARAM wparam, LPARAM lparam) {
    // A dialog hands the colour messages it does not handle on to the default window procedure.
    return DefWindowProcW(hwnd(), message, wparam, lparam);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lparam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (self == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG get the system's handling
    }
    INT_PTR handled = FALSE;
    try {
        handled = self->Dispatch(message, wparam, lparam);
    } catch (const std::exception& fault) {
        self->OnHandlerFault(fault);
    }
    if (message == WM_NCDESTROY) {
        // The window is gone: later calls see no window and the modal loop ends.
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->ended_ = true;
    }
    return handled;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            // A dialog opens centred; its own initialisation may place it elsewhere.
            CentreOnOwner(hwnd(), owner_);
            return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam))
                       ? TRUE
                       : FALSE;
        case WM_DRAWITEM: {
            // Owner-drawn controls draw themselves.
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            OwnedControl* control =
                item->CtlType != ODT_MENU ? OwnedControl::FromWindow(item->hwndItem) : nullptr;
            if (control != nullptr) {
                if (control->DrawItem(*item)) {
                    SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
                    return TRUE;
                }
            }
            break;
        }
        default:
            break;
    }

    const std::optional<LRESULT> result = OnMessage(message, wparam, lparam);
    if (!result) {
        return FALSE;
    }
    if (ReturnsResultDirectly(message)) {
        return static_cast<INT_PTR>(*result);
    }
    if (HWND window = hwnd(); window != nullptr) {
        SetWindowLongPtrW(window, DWLP_MSGRESULT, *result);
    }
    return TRUE;
}

}  // namespace quirn::win32
