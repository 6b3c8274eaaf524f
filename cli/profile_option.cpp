// profile_option.cpp: reading the window's settings for quirnctl.
#include "cli/profile_option.h"

#include <cstdint>

#include "cli/command.h"
#include "common/text/code_page.h"
#include "state/app_settings.h"
#include "state/ini_profile_store.h"
#include "state/stored_password.h"

namespace quirnctl {
namespace {

std::string Utf8(const std::wstring& text) {
    return *lumora::WideToNarrow(text.c_str(), lumora::kCodePageUtf8);
}

}  // namespace

ProfileAccess ReadProfileOption(const std::string& path, bool with_admin_password) {
    quirn::IniProfileStore store{std::filesystem::path(path)};
    if (!store.IsReadable()) {
        throw UsageError("cannot read the profile " + path);
    }
    quirn::AppSettings settings;
    // The window's position defaults do not matter here; like the window, ignore missing keys.
    settings.LoadProfile(store, quirn::DesktopRect{});

    ProfileAccess access;
    if (!settings.connect_domain.value.empty()) {
        access.router_host = Utf8(settings.connect_domain.value);
    }
    if (with_admin_password) {
        const quirn::DecodedPassword password =
            quirn::DecodeStoredPassword(settings.connect_rt_pw.value.c_str());
        // Only an empty stored text stands for an empty password.
        if (password.plain.empty() && !settings.connect_rt_pw.value.empty()) {
            throw UsageError("the stored administrator password in " + path +
                             " cannot be decoded");
        }
        access.admin_password = Utf8(password.plain);
    }
    const auto cycle_seconds = static_cast<std::uint32_t>(settings.reload_cycle.value) / 1000;
    access.poll_interval = std::chrono::seconds(cycle_seconds == 0 ? 1 : cycle_seconds);
    return access;
}

}  // namespace quirnctl
