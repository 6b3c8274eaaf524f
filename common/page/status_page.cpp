// status_page.cpp: the status page's item table, value rules and the handlers that apply them.
#include "common/page/status_page.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <string_view>

#include "common/library_state.h"
#include "common/page/session_token.h"

namespace lumora {

const char* const kItemKeys[kItemCount] = {
    "装置情報装置名",                       // 0: ignored
    "装置情報ファームウェアバージョン",     // 1
    "装置情報ファームウェア更新通知",       // 2
    "装置情報電池残量",                     // 3
    "電池残量電池残量",                     // 4
    "装置情報電池残量2",                    // 5
    "WiMAX情報RSSI",                        // 6: ignored
    "WiMAX情報CINR",                        // 7: ignored
    "接続状態動作モード",                   // 8: ignored
    "接続状態接続状態",                     // 9
    "接続状態電波状態",                     // 10
    "WAN側状態IPアドレス／ネットマスク",    // 11
    "Bluetooth情報Bluetooth名",             // 12
    "Bluetooth情報MACアドレス(Bluetooth)",  // 13
    "WAN側状態ドメイン名",                  // 14
    "無線情報WiFi WAN側連動",               // 15
    "データ通信量データ通信量の上限設定",   // 16
    "データ通信量データ通信量(当月)",       // 17
    "データ通信量上限設定への到達度",       // 18
};

namespace {

enum ItemCode : int {
    kFirmwareVersion = 1,
    kFirmwareNotice = 2,
    kBattery = 3,
    kBatteryOfBatterySection = 4,
    kBatteryLevel = 5,
    kConnection = 9,
    kRadio = 10,
    kWanAddress = 11,
    kBtName = 12,
    kBtAddress = 13,
    kDomainName = 14,
    kWifiWanLink = 15,
    kVolumeLimit = 16,
    kVolumeMonth = 17,
    kLimitReachText = 18,
};

constexpr std::string_view kInitialPasswordTitle = "[管理者パスワードの初期設定]";
constexpr std::string_view kNewFirmwareOffered = "新ファームウェアへ更新可能";
constexpr std::string_view kCharging = "充電中";

struct PrefixCode {
    std::string_view prefix;
    int code;
};

// Tested in order; the first matching beginning wins.
constexpr PrefixCode kConnectionTexts[] = {
    {"インターネット未接続", 0},
    {"インターネット利用可：無線LAN", 1},
    {"インターネット利用可：LTE", 3},
    {"インターネット利用可：3G", 4},
};

constexpr PrefixCode kRadioTexts[] = {
    {"非常に強い", 6}, {"強い", 4}, {"中", 2}, {"弱い", 0}, {"圏外", -1},
};
constexpr int kRadioUnrecognised = -2;

// True when the zero-terminated `text` is exactly `literal`. Compiled inline, unlike a call to
// strcmp per tag; it stops at the first difference, so never reads past `text`'s terminator.
template <std::size_t N>
bool IsText(const char* text, const char (&literal)[N]) {
    for (std::size_t i = 0; i < N; ++i) {
        if (text[i] != literal[i]) {
            return false;
        }
    }
    return true;
}

// The item keys with their lengths, so that most keys are told apart by length alone.
const std::string_view* ItemKeyViews() {
    static const auto views = [] {
        std::array<std::string_view, kItemCount> keys{};
        for (int code = 0; code < kItemCount; ++code) {
            keys[static_cast<std::size_t>(code)] = kItemKeys[code];
        }
        return keys;
    }();
    return views.data();
}

bool IsContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The longest prefix of `text` that fits `limit` bytes without splitting a UTF-8 character.
// Text that is not UTF-8 (a run of stray continuation bytes) is cut at the limit itself.
std::size_t FitUtf8(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text.size();
    }
    std::size_t cut = limit;
    for (int back = 0; back < 3 && cut > 0 && IsContinuationByte(text[cut]); ++back) {
        --cut;
    }
    return IsContinuationByte(text[cut]) ? limit : cut;
}

// Copies `text` into a buffer of `size` bytes that must stay NUL-terminated.
void CopyTerminated(char* buffer, int size, std::string_view text) {
    std::size_t n = FitUtf8(text, static_cast<std::size_t>(size - 1));
    std::copy_n(text.data(), n, buffer);
    std::memset(buffer + n, 0, static_cast<std::size_t>(size) - n);
}

// The value as the rules see it: up to the first line end, without surrounding ASCII blanks.
std::string_view TrimValue(std::string_view text) {
    std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) {
        end = text.find('\n');
    }
    if (end != std::string_view::npos) {
        text = text.substr(0, end);
    }
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

int FindPrefixCode(std::string_view text, const PrefixCode* table, std::size_t count,
                   int otherwise) {
    for (std::size_t i = 0; i < count; ++i) {
        if (text.starts_with(table[i].prefix)) {
            return table[i].code;
        }
    }
    return otherwise;
}

template <std::size_t N>
void CopyField(char (&field)[N], std::string_view text) {
    CopyFieldText(field, static_cast<int>(N), text.data(), static_cast<int>(text.size()));
}

void SetHeading(std::string_view text) {
    StatusPageState& state = g_library.page_parse;
    CopyTerminated(state.heading, kHeadingSize, text);
    // A remark in parentheses after the heading is not part of the item keys.
    if (char* remark = std::strchr(state.heading, '(')) {
        std::memset(remark, 0, static_cast<std::size_t>(state.heading + kHeadingSize - remark));
    }
}

void SelectItem(std::string_view label) {
    StatusPageState& state = g_library.page_parse;
    char key[kItemKeySize];
    std::size_t heading_length = std::strlen(state.heading);
    std::memcpy(key, state.heading, heading_length);
    CopyTerminated(key + heading_length, kItemKeySize - static_cast<int>(heading_length), label);
    const std::string_view key_text(key);
    const std::string_view* item_keys = ItemKeyViews();
    for (int code = 0; code < kItemCount; ++code) {
        if (key_text == item_keys[code]) {
            state.item_code = code;
            return;
        }
    }
    // An unknown label leaves the item code alone; the previous value run already reset it.
}

}  // namespace

void CopyFieldText(char* field, int capacity, const char* text, int length) {
    std::string_view value(text, static_cast<std::size_t>(length));
    std::size_t n = FitUtf8(value, static_cast<std::size_t>(capacity));
    std::copy_n(value.data(), n, field);
    std::memset(field + n, 0, static_cast<std::size_t>(capacity) - n);
}

int ReadBatteryNumber(const char* text, int length) {
    if (length <= 0 || text[0] < '0' || text[0] > '9') {
        return -3;
    }
    int number = 0;
    for (int i = 0; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (number > (INT_MAX - digit) / 10) {
            return INT_MAX;
        }
        number = number * 10 + digit;
    }
    return number;
}

void InterpretItemValue(int item_code, const char* text, int length) {
    g_library.page_parse.item_code = kNoItem;
    RouterStatus* status = g_library.current_status;
    if (status == nullptr) {
        return;
    }
    std::string_view value(text, static_cast<std::size_t>(length));
    switch (item_code) {
        case kFirmwareVersion:
            CopyField(status->firmware_version, value);
            break;
        case kFirmwareNotice:
            status->firmware_notice = value.starts_with(kNewFirmwareOffered) ? 1 : 0;
            break;
        case kBattery:
        case kBatteryOfBatterySection:
            if (value.starts_with(kCharging)) {
                status->battery_percent = -1;
                status->battery_level = -1;
            } else {
                int number = ReadBatteryNumber(text, length);
                status->battery_percent = number;
                status->battery_level = number / 10;
            }
            break;
        case kBatteryLevel:
            status->battery_level = ReadBatteryNumber(text, length) / 10;
            break;
        case kConnection: {
            CopyField(status->connection_text, value);
            int code = FindPrefixCode(value, kConnectionTexts, std::size(kConnectionTexts), -1);
            status->connection_code = code;
            if (code != -1) {
                g_library.recognised_connection_code = code;
            }
            break;
        }
        case kRadio:
            status->radio_level =
                FindPrefixCode(value, kRadioTexts, std::size(kRadioTexts), kRadioUnrecognised);
            break;
        case kWanAddress:
            CopyField(status->wan_address, value);
            break;
        case kBtName:
            CopyField(status->bt_name, value);
            break;
        case kBtAddress:
            CopyField(status->bt_address, value);
            break;
        case kDomainName:
            CopyField(status->domain_name, value);
            break;
        case kWifiWanLink:
            CopyField(status->wifi_wan_link, value == "disable"  ? std::string_view("しない")
                                             : value == "enable" ? std::string_view("する")
                                                                 : std::string_view());
            break;
        case kVolumeLimit:
            CopyField(status->volume_limit, value);
            break;
        case kVolumeMonth:
            CopyField(status->volume_month, value);
            break;
        case kLimitReachText:
            CopyField(status->limit_reach_text, value);
            break;
        default:
            break;  // no item, or one the window does not show
    }
}

void StatusPageHandlers::StartElement(const char* name, const char* const* attributes) {
    StatusPageState& state = g_library.page_parse;
    if (IsText(name, "h2")) {
        state.text_mode = TextMode::kHeading;
    } else if (IsText(name, "td")) {
        if (attributes == nullptr) {
            return;
        }
        // Only the values count, and the last cell class in the list wins.
        for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
            const char* value = attributes[i + 1];
            if (IsText(value, "small_item_td")) {
                state.text_mode = TextMode::kLabel;
            } else if (IsText(value, "small_item_td2")) {
                state.text_mode = TextMode::kValue;
            }
        }
    } else if (IsText(name, "input")) {
        if (g_library.token_taken == 0 && attributes != nullptr) {
            CaptureSessionToken(attributes);
        }
    } else if (IsText(name, "title")) {
        state.text_mode = TextMode::kTitle;
    }
}

void StatusPageHandlers::EndElement(const char* /*name*/) {}

void StatusPageHandlers::Text(const char* text, int length) {
    StatusPageState& state = g_library.page_parse;
    // The run ends at its terminator even if `length` claims more.
    std::string_view run;
    if (text != nullptr && length > 0) {
        run = std::string_view(text, static_cast<std::size_t>(length));
        run = run.substr(0, run.find('\0'));
    }
    switch (state.text_mode) {
        case TextMode::kHeading:
            SetHeading(run);
            break;
        case TextMode::kLabel:
            SelectItem(run);
            break;
        case TextMode::kValue: {
            std::string_view value = TrimValue(run);
            InterpretItemValue(state.item_code, value.data(), static_cast<int>(value.size()));
            break;
        }
        case TextMode::kTitle:
            if (run.starts_with(kInitialPasswordTitle)) {
                g_library.page_valid = 0;
            }
            break;
        case TextMode::kNone:
            break;
    }
    state.text_mode = TextMode::kNone;
}

}  // namespace lumora
