// firmware_page.cpp: the firmware page's address and the default-browser test.
#include "ui/logic/firmware_page.h"

#include <cwctype>

#include "common/text/code_page.h"
#include "res/strings.h"
#include "state/stored_password.h"

namespace quirn {
namespace {

constexpr wchar_t kHttpCommandKey[] = L"http\\shell\\open\\command";
constexpr wchar_t kUserChoiceKey[] =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
constexpr wchar_t kFirmwarePath[] = L"/index.cgi/fw_main";

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

bool IsDefaultBrowserIE(RegistryReader& registry) {
    const int major = registry.WindowsMajorVersion();
    if (major < 5) {
        return false;
    }
    if (major == 5) {
        const auto command = registry.ReadText(RegistryRoot::kClassesRoot, kHttpCommandKey, L"");
        if (!command) {
            return true;
        }
        std::wstring lower;
        for (wchar_t c : *command) {
            lower += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        }
        return lower.find(L"iexplore") != std::wstring::npos;
    }
    const auto progid = registry.ReadText(RegistryRoot::kCurrentUser, kUserChoiceKey, L"Progid");
    if (!progid) {
        return true;
    }
    return progid->find(L"IE.") != std::wstring::npos;
}

std::optional<std::wstring> PercentEncodeUserInfo(const std::wstring& text) {
    std::optional<std::string> utf8;
    try {
        utf8 = lumora::WideToNarrow(text.c_str(), lumora::kCodePageUtf8);
    } catch (const lumora::ConversionError&) {
        return std::nullopt;
    }
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring encoded;
    for (unsigned char c : utf8.value_or(std::string())) {
        if (IsUnreserved(c)) {
            encoded += static_cast<wchar_t>(c);
        } else {
            encoded += L'%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

std::wstring FirmwarePageAddress(const AppSettings& settings, bool browser_is_ie) {
    const std::wstring host = settings.connect_domain.value.empty()
                                  ? std::wstring(StringText(kRouterHostNameText))
                                  : settings.connect_domain.value;
    if (!browser_is_ie) {
        const DecodedPassword password = DecodeStoredPassword(settings.connect_rt_pw.value.c_str());
        if (const auto user_info = PercentEncodeUserInfo(password.plain)) {
            return L"http://admin:" + *user_info + L"@" + host + kFirmwarePath;
        }
    }
    return L"http://" + host + kFirmwarePath;
}

}  // namespace quirn
