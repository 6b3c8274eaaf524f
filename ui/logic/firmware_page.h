// firmware_page.h: the address of the router's firmware update page, and whether the user's
// default browser may be handed the administrator's credentials in it.
#pragma once

#include <optional>
#include <string>

#include "state/app_settings.h"
#include "ui/logic/registry_reader.h"

namespace quirn {

// True when the default web browser is Internet Explorer or cannot be determined (the key or
// value is unreadable); false otherwise and on systems before major version 5. Version 5 looks
// for "iexplore" in the lower-cased open command of http, later ones for "IE." in the ProgId of
// the user's choice for http.
bool IsDefaultBrowserIE(RegistryReader& registry);

// The firmware page of the router at `connect_domain` (the router's local host name when
// empty). Internet Explorer gets the plain address; any other browser the address with user
// information "admin:" + the decoded administrator password, percent-encoded so that no
// character of the password can change the host the address names. A password that cannot be
// encoded gives the plain address.
std::wstring FirmwarePageAddress(const AppSettings& settings, bool browser_is_ie);

// `text` in UTF-8 with every byte other than a letter, a digit, "-", ".", "_" and "~" written as
// "%XX" (upper-case hex). None when `text` is no valid text (an unpaired surrogate).
std::optional<std::wstring> PercentEncodeUserInfo(const std::wstring& text);

}  // namespace quirn
