// app_settings.h: the settings record and its profile storage.
//
// Ten entries, each its key name and value; eight are kept in the profile, the status-page user
// and password are set at start-up and never stored. Created, loaded, changed and saved on the
// window's thread; the polling worker works on a copy.
#pragma once

#include <cstdint>
#include <string>

#include "state/profile_store.h"

namespace quirn {

inline constexpr const wchar_t* kApplicationSection = L"application_info";
inline constexpr const wchar_t* kRouterSection = L"router_info";
inline constexpr int32_t kDefaultReloadCycle = 20000;  // milliseconds

struct TextSetting {
    std::wstring key;
    std::wstring value;
};

struct NumberSetting {
    std::wstring key;
    int32_t value = 0;
};

// The desktop window's rectangle in screen coordinates; its half size is the default position.
struct DesktopRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class AppSettings {
  public:
    // Sets the ten key names; texts empty, numbers 0.
    AppSettings();

    // Reads the eight stored entries from `store`, applying the defaults where the value is
    // missing or empty. True only if every entry was found with a non-empty text; every entry
    // is read even after a miss. `app_version` and `connect_rt_pw` keep their value when
    // missing, and so does `connect_domain` when present but empty (a missing `connect_domain`
    // gives the router's local host name). A stored number above 2147483647, the written form of
    // a negative value, reads back as that negative value.
    bool LoadProfile(ProfileStore& store, const DesktopRect& desktop);

    // Writes the eight stored entries, numbers in unsigned decimal. True only if every write
    // succeeded; all eight are attempted even after a failure.
    bool SaveProfile(ProfileStore& store) const;

    // Sets `connect_user` and `connect_pass` to the built-in status-page account.
    void SetStatusPageAccount();

    TextSetting app_version;      // stored version text; read and written back unchanged
    NumberSetting reload_cycle;   // polling interval in milliseconds
    NumberSetting window_pos_x;   // main window's left edge in screen coordinates
    NumberSetting window_pos_y;   // main window's top edge
    NumberSetting app_startup;    // 1: start at log-on
    NumberSetting app_keep_task;  // 1: closing the window keeps the program in the tray
    TextSetting connect_domain;   // router address: host name or dotted IPv4 address
    TextSetting connect_user;     // status-page user; never stored
    TextSetting connect_pass;     // status-page password; never stored
    TextSetting connect_rt_pw;    // administrator password in its stored form
};

// `_wtoi` of `text` (leading white space, optional sign, decimal digits up to the first other
// character; no digits give 0) except that a value from 2147483648 to 4294967295 is taken as the
// 32-bit pattern it is, the inverse of the unsigned form numbers are written in. Larger
// magnitudes saturate at the 32-bit limits.
int32_t ParseStoredNumber(const std::wstring& text);

}  // namespace quirn
