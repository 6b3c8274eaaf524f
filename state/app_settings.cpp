// app_settings.cpp: loading and saving the settings record.
#include "state/app_settings.h"

#include <algorithm>
#include <limits>

#include "res/strings.h"

namespace quirn {

AppSettings::AppSettings()
    : app_version{L"app_version", {}},
      reload_cycle{L"reload_cycle", 0},
      window_pos_x{L"window_pos_x", 0},
      window_pos_y{L"window_pos_y", 0},
      app_startup{L"app_startup", 0},
      app_keep_task{L"app_keep_task", 0},
      connect_domain{L"connect_domain", {}},
      connect_user{L"connect_user", {}},
      connect_pass{L"connect_pass", {}},
      connect_rt_pw{L"connect_rt_pw", {}} {}

int32_t ParseStoredNumber(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    constexpr int64_t kLimit = int64_t{1} << 32;  // any magnitude above 32 bits saturates
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - L'0'), kLimit);
    }
    if (negative) {
        return magnitude > int64_t{1} << 31 ? std::numeric_limits<int32_t>::min()
                                            : static_cast<int32_t>(-magnitude);
    }
    if (magnitude >= kLimit) {
        return std::numeric_limits<int32_t>::max();
    }
    // 2147483648..4294967295 is how a negative value was written: take its 32-bit pattern.
    return static_cast<int32_t>(static_cast<uint32_t>(magnitude));
}

namespace {

// Reads a text entry that keeps its value when the profile has none.
bool LoadText(ProfileStore& store, const wchar_t* section, TextSetting& entry,
              const std::wstring& default_value = {}) {
    std::wstring text = store.Read(section, entry.key, default_value);
    if (text.empty()) {
        return false;
    }
    entry.value = std::move(text);
    return true;
}

bool LoadNumber(ProfileStore& store, NumberSetting& entry, int32_t default_value) {
    const std::wstring text = store.Read(kApplicationSection, entry.key, {});
    if (text.empty()) {
        entry.value = default_value;
        return false;
    }
    entry.value = ParseStoredNumber(text);
    return true;
}

bool SaveNumber(ProfileStore& store, const NumberSetting& entry) {
    return store.Write(kApplicationSection, entry.key,
                       std::to_wstring(static_cast<uint32_t>(entry.value)));
}

}  // namespace

bool AppSettings::LoadProfile(ProfileStore& store, const DesktopRect& desktop) {
    bool complete = true;
    complete &= LoadText(store, kApplicationSection, app_version);
    complete &= LoadNumber(store, reload_cycle, kDefaultReloadCycle);
    // Widths in 64 bits: a rectangle spanning more than 2^31 pixels cannot overflow.
    const auto half_width = static_cast<int32_t>((int64_t{desktop.right} - desktop.left) / 2);
    const auto half_height = static_cast<int32_t>((int64_t{desktop.bottom} - desktop.top) / 2);
    complete &= LoadNumber(store, window_pos_x, half_width);
    complete &= LoadNumber(store, window_pos_y, half_height);
    complete &= LoadNumber(store, app_startup, 0);
    complete &= LoadNumber(store, app_keep_task, 0);
    complete &= LoadText(store, kRouterSection, connect_domain, StringText(kRouterHostNameText));
    complete &= LoadText(store, kRouterSection, connect_rt_pw);
    return complete;
}

bool AppSettings::SaveProfile(ProfileStore& store) const {
    bool complete = true;
    complete &= store.Write(kApplicationSection, app_version.key, app_version.value);
    complete &= SaveNumber(store, reload_cycle);
    complete &= SaveNumber(store, window_pos_x);
    complete &= SaveNumber(store, window_pos_y);
    complete &= SaveNumber(store, app_startup);
    complete &= SaveNumber(store, app_keep_task);
    complete &= store.Write(kRouterSection, connect_domain.key, connect_domain.value);
    complete &= store.Write(kRouterSection, connect_rt_pw.key, connect_rt_pw.value);
    return complete;
}

void AppSettings::SetStatusPageAccount() {
    connect_user.value = StringText(kStatusPageUserText);
    connect_pass.value = StringText(kStatusPagePasswordText);
}

}  // namespace quirn
