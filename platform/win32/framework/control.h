// control.h: a child control of a dialog whose messages this object receives (the control is
// subclassed when bound), with the static and edit flavours the window uses.
//
// The object is bound once, on the window's thread, to an existing dialog item, and it must
// outlive the control window or be destroyed while the window still exists (the destructor then
// restores the control's own procedure).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quirn::win32 {

class OwnedControl {
  public:
    OwnedControl() = default;
    virtual ~OwnedControl();
    OwnedControl(const OwnedControl&) = delete;
    OwnedControl& operator=(const OwnedControl&) = delete;

    // Binds dialog item `id` of `dialog`: the item's messages come to OnMessage from now on, and
    // OnAttached runs. False when there is no such item or this object is already bound.
    bool Attach(HWND dialog, int id);

    // The bound control window; null before binding and after the window is gone.
    HWND hwnd() const { return hwnd_; }

    // The bound object of a control window, or null.
    static OwnedControl* FromWindow(HWND window);

    // An owner-drawn control's WM_DRAWITEM, handed on by its dialog; true when drawn.
    virtual bool DrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }

  protected:
    // Runs once the control is bound (its set-up: pictures, fonts, timers).
    virtual void OnAttached() {}
    // A message of the control: a value handles it with that result, none passes it on to the
    // control's own procedure.
    virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
    // The control's own procedure, for handlers that add to the default processing.
    LRESULT CallDefault(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void Detach();

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
};

// A static control (text or picture).
class StaticControl : public OwnedControl {};

// An edit box.
class EditControl : public OwnedControl {
  public:
    std::wstring GetText() const;
    void SetText(const std::wstring& text);
};

// The text of any window.
std::wstring WindowText(HWND window);

// Moves a window to (x, y) of its parent's client area (the screen for a top-level window),
// keeping its size and z-order.
void MoveWindowTo(HWND window, int x, int y);
// Resizes a window, keeping its position and z-order.
void ResizeWindow(HWND window, int width, int height);

}  // namespace quirn::win32
