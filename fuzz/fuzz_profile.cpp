// fuzz_profile.cpp: a hand-edited profile file: the portable INI store and LoadProfile over
// arbitrary file bytes, then a write and a save over the same file.
//
// Checks: loading never throws; a numeric entry reads as ParseStoredNumber of its
// text; writing one entry changes that entry only (every other one reads as before) or, when
// refused, leaves the file's bytes as they were; saving the settings and loading them again gives
// the same settings, except for texts the profile format itself changes (a value enclosed in a
// pair of quotes loses them on reading, as with the Windows profile API).
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_check.h"
#include "state/app_settings.h"
#include "state/ini_profile_store.h"

namespace {

constexpr quirn::DesktopRect kDesktop{0, 0, 1920, 1080};

// The file every run writes and reads; in memory where the system has a memory file system,
// since each run rewrites it dozens of times.
const std::filesystem::path& ProfilePath() {
    static const std::filesystem::path path = [] {
        std::error_code error;
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path folder = std::filesystem::is_directory(shm, error)
                                                 ? shm
                                                 : std::filesystem::temp_directory_path();
        return folder / ("quirn_fuzz_profile_" + std::to_string(getpid()) + ".ini");
    }();
    return path;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

struct Entry {
    const wchar_t* section;
    const wchar_t* key;
};

constexpr Entry kEntries[] = {
    {quirn::kApplicationSection, L"app_version"},  {quirn::kApplicationSection, L"reload_cycle"},
    {quirn::kApplicationSection, L"window_pos_x"}, {quirn::kApplicationSection, L"window_pos_y"},
    {quirn::kApplicationSection, L"app_startup"},  {quirn::kApplicationSection, L"app_keep_task"},
    {quirn::kRouterSection, L"connect_domain"},    {quirn::kRouterSection, L"connect_rt_pw"},
};

bool QuoteEnclosed(const std::wstring& text) {
    return text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') &&
           text.back() == text.front();
}

void CheckSameSettings(const quirn::AppSettings& a, const quirn::AppSettings& b) {
    FUZZ_CHECK(a.reload_cycle.value == b.reload_cycle.value);
    FUZZ_CHECK(a.window_pos_x.value == b.window_pos_x.value);
    FUZZ_CHECK(a.window_pos_y.value == b.window_pos_y.value);
    FUZZ_CHECK(a.app_startup.value == b.app_startup.value);
    FUZZ_CHECK(a.app_keep_task.value == b.app_keep_task.value);
    for (auto [saved, loaded] : {std::pair{&a.app_version, &b.app_version},
                                 std::pair{&a.connect_domain, &b.connect_domain},
                                 std::pair{&a.connect_rt_pw, &b.connect_rt_pw}}) {
        FUZZ_CHECK(saved->value == loaded->value || QuoteEnclosed(saved->value));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path& path = ProfilePath();
    {
        std::ofstream stream(path, std::ios::binary | std::ios::trunc);
        stream.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    quirn::IniProfileStore store(path);

    quirn::AppSettings loaded;
    loaded.LoadProfile(store, kDesktop);
    const std::wstring cycle_text = store.Read(quirn::kApplicationSection, L"reload_cycle", L"");
    FUZZ_CHECK(
        loaded.reload_cycle.value ==
        (cycle_text.empty() ? quirn::kDefaultReloadCycle : quirn::ParseStoredNumber(cycle_text)));

    // One entry written: every other entry reads as before.
    std::wstring before[std::size(kEntries)];
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        before[i] = store.Read(kEntries[i].section, kEntries[i].key, L"(missing)");
    }
    const std::string bytes_before = FileBytes(path);
    const std::size_t written = size % std::size(kEntries);
    if (store.Write(kEntries[written].section, kEntries[written].key, L"12345")) {
        for (std::size_t i = 0; i < std::size(kEntries); ++i) {
            const std::wstring now = store.Read(kEntries[i].section, kEntries[i].key, L"(missing)");
            FUZZ_CHECK(now == (i == written ? L"12345" : before[i]));
        }
    } else {
        FUZZ_CHECK(FileBytes(path) == bytes_before);
    }

    // What was loaded survives a save and a new load.
    quirn::AppSettings current;
    current.LoadProfile(store, kDesktop);
    if (current.SaveProfile(store)) {
        quirn::AppSettings reloaded;
        reloaded.LoadProfile(store, kDesktop);
        CheckSameSettings(current, reloaded);
    }
    return 0;
}
