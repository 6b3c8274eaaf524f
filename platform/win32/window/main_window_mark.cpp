#include "platform/win32/window/main_window_mark.h"

namespace quirn::win32 {
namespace {

// A window property: other processes can read it by name, unlike anything in our own memory.
constexpr wchar_t kMainWindowProperty[] = L"QuirnMobileTool.MainWindow";

struct Search {
    const std::wstring* title;
    HWND found = nullptr;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM parameter) {
    Search& search = *reinterpret_cast<Search*>(parameter);
    if (GetPropW(window, kMainWindowProperty) == nullptr) {
        return TRUE;
    }
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    if (text != *search.title) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

}  // namespace

void MarkMainWindow(HWND window) {
    SetPropW(window, kMainWindowProperty, reinterpret_cast<HANDLE>(1));
}

void UnmarkMainWindow(HWND window) {
    RemovePropW(window, kMainWindowProperty);
}

HWND FindMainWindow(const std::wstring& title) {
    Search search{&title};
    EnumWindows(&CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace quirn::win32
