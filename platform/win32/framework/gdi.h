// gdi.h: scoped GDI objects and device contexts for the window's drawing code.
//
// Each wrapper owns one handle and releases it once; none can be copied, so a handle is never
// released twice. All of them are used on the window's thread.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace quirn::win32 {

// Owns a GDI object (bitmap, font, brush) and deletes it with DeleteObject.
template <typename Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;

// Owns an icon that is not shared and destroys it with DestroyIcon.
class Icon {
  public:
    Icon() = default;
    explicit Icon(HICON handle) : handle_(handle) {}
    ~Icon() { Reset(); }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    Icon(Icon&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Icon& operator=(Icon&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }

    HICON get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(HICON handle = nullptr) {
        if (handle_ != nullptr) {
            DestroyIcon(handle_);
        }
        handle_ = handle;
    }

  private:
    HICON handle_ = nullptr;
};

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
