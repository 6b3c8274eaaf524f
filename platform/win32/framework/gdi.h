// gdi.h: scoped GDI objects, icons and device contexts for the window's drawing code.
//
// Each wrapper owns one handle and releases it once; none can be copied, so a handle is never
// released twice. All of them are used on the window's thread.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace quirn::win32 {

// Owns one handle and gives it back to the system with `Release` once.
template <typename Handle, typename Release>
class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            Release{}(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

// A GDI object (bitmap, font, brush), deleted with DeleteObject.
template <typename Handle>
using GdiObject = OwnedHandle<Handle, DeleteGdiObject>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;

// An icon that is not shared, destroyed with DestroyIcon.
using Icon = OwnedHandle<HICON, DestroyIconHandle>;

// A memory device context (CreateCompatibleDC), deleted with DeleteDC.
class MemoryDc {
  public:
    MemoryDc() = default;
    explicit MemoryDc(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {}
    ~MemoryDc() { Reset(); }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    MemoryDc(MemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    MemoryDc& operator=(MemoryDc&& other) noexcept {
        if (this != &other) {
            Reset();
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
            dc_ = nullptr;
        }
    }

  private:
    HDC dc_ = nullptr;
};

// A window's own device context (GetDC), released against the same window.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// The paint context of one WM_PAINT (BeginPaint / EndPaint); validates the update region.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a context for the lifetime of this guard, then puts the old one back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_ != nullptr) {
            SelectObject(dc_, old_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// Width and height of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// A font made from the stock system font's description with these changes; every other
// attribute stays that of the stock font.
struct FontChange {
    LONG height = 0;
    LONG weight = -1;  // -1 keeps the stock weight
    bool underline = false;
    std::wstring face;
};
Font CreateFontFromSystemFont(const FontChange& change);

}  // namespace quirn::win32
