// dialog.h: a modal dialog over a dialog template, with its own modal loop and one virtual
// handler per concern.
//
// One static dialog procedure stores `this` in DWLP_USER at WM_INITDIALOG and forwards every
// later message to the object; exceptions never cross that boundary. The object outlives its
// window: DoModal creates the window, runs the loop and destroys the window before it returns.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <optional>

namespace quirn::win32 {

class Dialog {
  public:
    // `template_id` names the dialog resource; `owner` (may be null) is disabled while the dialog
    // runs and becomes the dialog's owner window. The dialog opens centred over its owner (over
    // the screen without one) unless OnInitDialog places it.
    explicit Dialog(int template_id, HWND owner = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, shows it, runs its message loop until EndDialog and destroys it.
    // Returns the value given to EndDialog, or -1 when the window could not be created.
    INT_PTR DoModal();

    // Ends the modal loop with `result`; the window is destroyed when the loop returns.
    void EndDialog(INT_PTR result);

    // The dialog window; null before WM_INITDIALOG and after the window is gone.
    HWND hwnd() const { return hwnd_.load(); }
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

  protected:
    // After the controls exist. True lets the system put the focus on the first control.
    virtual bool OnInitDialog() { return true; }
    // The OK command (also the Enter key); the base ends the dialog with IDOK.
    virtual void OnOK() { EndDialog(IDOK); }
    // The cancel command (close box, Escape); the base ends the dialog with IDCANCEL.
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // WM_COMMAND; true when handled. The base routes IDOK and IDCANCEL to OnOK and OnCancel.
    virtual bool OnCommand(int id, int code, HWND control);
    // Each message the modal loop takes before it is dispatched; true swallows it.
    virtual bool PreTranslateMessage(MSG& message);
    // Any other message: a value handles it with that result, none leaves it to the system.
    virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
    // A handler threw: the exception stops at the message boundary and is reported here.
    virtual void OnHandlerFault(const std::exception& fault);

    // The system's handling of a WM_CTLCOLOR* message (colours set on the context, brush
    // returned), for handlers that start from it and change a colour.
    LRESULT DefaultControlColour(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    INT_PTR Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    bool FilteredBeforeDispatch(MSG& message);

    int template_id_;
    HWND owner_;
    std::atomic<HWND> hwnd_{nullptr};
    std::atomic<bool> ended_{false};
    INT_PTR result_ = -1;
};

// Writes a handler's fault to the debugger output; nothing is shown to the user.
void ReportHandlerFault(const std::exception& fault);

}  // namespace quirn::win32
