// win_probe: the end-to-end tests' eyes inside Wine. Run in the program's Wine session, it reads
// what the screen alone cannot tell — window styles, controls' texts, ids and states, the edit
// box's selection, which system icon a message box shows, the cursor's shape — and prints it
// as one JSON value on standard output. Only a test tool; the program knows nothing of it.
//
//   win_probe windows TITLE        top-level windows titled TITLE, with their controls
//   win_probe titles               the titles of the shown top-level windows
//   win_probe cursor               the cursor now shown, and the system cursors' handles
//   win_probe post TITLE MESSAGE   posts the registered window message MESSAGE to each window
//                                  titled TITLE (e.g. "TaskbarCreated")
//   win_probe tray-delete TITLE ID removes the notification icon ID of the window titled TITLE,
//                                  as a restarted taskbar would have lost it
//   win_probe icon-pictures        the four system icons of message boxes as drawn on black and
//                                  on white: their handles are the process's own, their pixels
//                                  are what another process's box shows
//   win_probe record FILE TEXT     appends TEXT as a line of UTF-8 to FILE: registered as the
//                                  shell's command for an address, it records what was opened
//   win_probe show TITLE ID        shows the control ID of the window titled TITLE (one the
//                                  program keeps hidden, for a test of how it behaves when shown)
//
// Arguments come percent-encoded UTF-8 ("%E7%92%B0..."), since how Wine turns a Unix command
// line into the program's depends on the locale it runs in; record's are taken as they come,
// since the shell fills them in and an address has percent signs of its own.
//
// Exit status 0 on success, 2 on a usage error, 1 when the action failed.

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::wstring PercentDecoded(const std::wstring& arg) {
    std::string bytes;
    for (size_t i = 0; i < arg.size(); ++i) {
        if (arg[i] == L'%' && i + 2 < arg.size() && iswxdigit(arg[i + 1]) &&
            iswxdigit(arg[i + 2])) {
            bytes += static_cast<char>(std::wcstoul(arg.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            bytes += static_cast<char>(arg[i]);
        }
    }
    int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                   nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                        size);
    return out;
}

std::string Quoted(const std::wstring& text) {
    std::string out = "\"";
    for (unsigned char c : Utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Handle(const void* handle) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Rect(const RECT& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "]";
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// The window's text as the window itself gives it: WM_GETTEXT reaches edit controls, whose
// text the system does not keep for another process. A hung window gives nothing.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return {};
    text.resize(copied);
    return text;
}

DWORD_PTR Ask(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, 2000, &result);
    return result;
}

// The fields every window has, as JSON members without the braces.
std::string Common(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    LONG style = GetWindowLongW(window, GWL_STYLE);
    LONG exstyle = GetWindowLongW(window, GWL_EXSTYLE);
    return "\"hwnd\":" + Handle(window) + ",\"class\":" + Quoted(ClassOf(window)) +
           ",\"text\":" + Quoted(TextOf(window)) + ",\"style\":" +
           std::to_string(static_cast<unsigned long>(style)) + ",\"exstyle\":" +
           std::to_string(static_cast<unsigned long>(exstyle)) + ",\"rect\":" + Rect(rect) +
           ",\"visible\":" + Bool(IsWindowVisible(window)) + ",\"enabled\":" +
           Bool(IsWindowEnabled(window));
}

std::string Control(HWND control) {
    std::string out = "{" + Common(control) + ",\"id\":" + std::to_string(GetDlgCtrlID(control));
    std::wstring cls = ClassOf(control);
    if (lstrcmpiW(cls.c_str(), L"Edit") == 0) {
        DWORD selection = static_cast<DWORD>(Ask(control, EM_GETSEL));
        out += ",\"selection\":[" + std::to_string(LOWORD(selection)) + "," +
               std::to_string(HIWORD(selection)) + "]";
        out += ",\"password_char\":" + std::to_string(Ask(control, EM_GETPASSWORDCHAR));
    }
    if (lstrcmpiW(cls.c_str(), L"Static") == 0 &&
        (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        out += ",\"icon\":" + Handle(reinterpret_cast<void*>(Ask(control, STM_GETICON)));
    }
    return out + "}";
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelTitled(const std::wstring& title) {
    std::vector<HWND> all, titled;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        if (title == text) titled.push_back(window);
    }
    return titled;
}

// The focus of another thread's window is that thread's to tell.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::string SystemIcons() {
    return "{\"question\":" + Handle(LoadIconW(nullptr, IDI_QUESTION)) +
           ",\"stop\":" + Handle(LoadIconW(nullptr, IDI_HAND)) +
           ",\"exclamation\":" + Handle(LoadIconW(nullptr, IDI_EXCLAMATION)) +
           ",\"information\":" + Handle(LoadIconW(nullptr, IDI_ASTERISK)) + "}";
}

int ListWindows(const std::wstring& title) {
    std::string out = "{\"system_icons\":" + SystemIcons() + ",\"foreground\":" +
                      Handle(GetForegroundWindow()) + ",\"windows\":[";
    bool first = true;
    for (HWND window : TopLevelTitled(title)) {
        RECT client{};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        out += first ? "{" : ",{";
        first = false;
        out += Common(window) + ",\"client\":" + Rect(client) + ",\"iconic\":" +
               Bool(IsIconic(window)) + ",\"owner\":" + Handle(GetWindow(window, GW_OWNER)) +
               ",\"focus\":" + Handle(FocusOf(window)) + ",\"controls\":[";
        std::vector<HWND> controls;
        EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&controls));
        for (size_t i = 0; i < controls.size(); ++i)
            out += (i ? "," : "") + Control(controls[i]);
        out += "]}";
    }
    std::printf("%s]}\n", out.c_str());
    return 0;
}

int ListTitles() {
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    std::string out = "[";
    for (HWND window : all) {
        if (!IsWindowVisible(window)) continue;
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        out += (out.size() > 1 ? "," : "") + Quoted(text);
    }
    std::printf("%s]\n", out.c_str());
    return 0;
}

int ShowCursorState() {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) return 1;
    std::printf("{\"cursor\":%s,\"shown\":%s,\"position\":[%ld,%ld],\"hand\":%s,\"arrow\":%s,"
                "\"ibeam\":%s}\n",
                Handle(info.hCursor).c_str(), Bool(info.flags & CURSOR_SHOWING).c_str(),
                info.ptScreenPos.x, info.ptScreenPos.y,
                Handle(LoadCursorW(nullptr, IDC_HAND)).c_str(),
                Handle(LoadCursorW(nullptr, IDC_ARROW)).c_str(),
                Handle(LoadCursorW(nullptr, IDC_IBEAM)).c_str());
    return 0;
}

int PostRegistered(const std::wstring& title, const std::wstring& name) {
    UINT message = RegisterWindowMessageW(name.c_str());
    std::vector<HWND> windows = TopLevelTitled(title);
    if (message == 0 || windows.empty()) return 1;
    for (HWND window : windows)
        if (!PostMessageW(window, message, 0, 0)) return 1;
    std::printf("{\"posted\":%zu}\n", windows.size());
    return 0;
}

int DeleteTrayIcon(const std::wstring& title, UINT id) {
    for (HWND window : TopLevelTitled(title)) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = window;
        data.uID = id;
        if (Shell_NotifyIconW(NIM_DELETE, &data)) {
            std::printf("{\"deleted\":%s}\n", Handle(window).c_str());
            return 0;
        }
    }
    return 1;
}

// The icon's pixels drawn over `background`, as hexadecimal RGB, row by row from the top.
std::string IconPixels(HICON icon, int width, int height, COLORREF background) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::string out;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const auto* pixel = static_cast<const unsigned char*>(bits);  // B, G, R, unused
        for (int i = 0; i < width * height; ++i, pixel += 4) {
            char rgb[7];
            std::snprintf(rgb, sizeof rgb, "%02x%02x%02x", pixel[2], pixel[1], pixel[0]);
            out += rgb;
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
    return out;
}

int ShowIconPictures() {
    const struct {
        const char* name;
        LPCWSTR id;
    } icons[] = {{"question", IDI_QUESTION},
                 {"stop", IDI_HAND},
                 {"exclamation", IDI_EXCLAMATION},
                 {"information", IDI_ASTERISK}};
    std::string out = "{";
    for (const auto& icon : icons) {
        HICON handle = LoadIconW(nullptr, icon.id);
        ICONINFO parts{};
        BITMAP mask{};
        if (handle == nullptr || !GetIconInfo(handle, &parts)) return 1;
        GetObjectW(parts.hbmMask, sizeof mask, &mask);
        const int width = mask.bmWidth;
        // A monochrome icon's mask holds the AND and the XOR halves one above the other.
        const int height = parts.hbmColor != nullptr ? mask.bmHeight : mask.bmHeight / 2;
        if (parts.hbmColor != nullptr) DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
        out += (out.size() > 1 ? ",\"" : "\"") + std::string(icon.name) + "\":{\"size\":[" +
               std::to_string(width) + "," + std::to_string(height) + "],\"on_black\":\"" +
               IconPixels(handle, width, height, RGB(0, 0, 0)) + "\",\"on_white\":\"" +
               IconPixels(handle, width, height, RGB(255, 255, 255)) + "\"}";
    }
    std::printf("%s}\n", out.c_str());
    return 0;
}

int Record(const wchar_t* file, const wchar_t* text) {
    HANDLE out = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1;
    const std::string line = Utf8(text) + "\n";
    DWORD written = 0;
    const bool ok = WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written,
                              nullptr) && written == line.size();
    CloseHandle(out);
    return ok ? 0 : 1;
}

int ShowControl(const std::wstring& title, int id) {
    for (HWND window : TopLevelTitled(title)) {
        if (HWND control = GetDlgItem(window, id)) {
            ShowWindow(control, SW_SHOW);
            std::printf("{\"shown\":%s}\n", Handle(control).c_str());
            return 0;
        }
    }
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && lstrcmpW(argv[1], L"record") == 0) return Record(argv[2], argv[3]);
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(PercentDecoded(argv[i]));
    const auto number = [&](std::size_t i) { return std::wcstoul(args[i].c_str(), nullptr, 10); };
    if (args.size() == 2 && args[0] == L"windows") return ListWindows(args[1]);
    if (args.size() == 1 && args[0] == L"titles") return ListTitles();
    if (args.size() == 1 && args[0] == L"cursor") return ShowCursorState();
    if (args.size() == 3 && args[0] == L"post") return PostRegistered(args[1], args[2]);
    if (args.size() == 1 && args[0] == L"icon-pictures") return ShowIconPictures();
    if (args.size() == 3 && args[0] == L"tray-delete")
        return DeleteTrayIcon(args[1], static_cast<UINT>(number(2)));
    if (args.size() == 3 && args[0] == L"show")
        return ShowControl(args[1], static_cast<int>(number(2)));
    std::fprintf(stderr, "usage: win_probe windows TITLE | titles | cursor | post TITLE MESSAGE |\n"
                         "       tray-delete TITLE ID | icon-pictures | record FILE TEXT |\n"
                         "       show TITLE ID\n");
    return 2;
}
