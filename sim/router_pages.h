// router_pages.h: the router's HTML pages, written as UTF-8 lines from its state. The caller
// converts them to EUC-JP; one entry is one line of the page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/router_simulator.h"

namespace quirn::sim {

using PageLines = std::vector<std::string>;

// Every page ends with these two lines; the fault that cuts a page drops them.
inline constexpr std::string_view kBodyEndLine = "</body>";
inline constexpr std::string_view kHtmlEndLine = "</html>";

// Title prefix of every page while no administrator password is set.
inline constexpr std::string_view kInitialPasswordTitle = "[管理者パスワードの初期設定]";

// The texts the status page shows for the state's values.
std::string ConnectionText(const RouterState& state);
std::string RadioText(Radio radio);
std::string BatteryText(const RouterState& state);

// `token` nullopt leaves the hidden SESSION_ID field out.
PageLines StatusPage(const RouterState& state, bool admin_view,
                     const std::optional<std::string>& token);
PageLines InitialPasswordPage(const RouterState& state, const std::optional<std::string>& token);
PageLines TopPage(const RouterState& state, const std::optional<std::string>& token);
PageLines FirmwarePage(const RouterState& state, const std::optional<std::string>& token);
PageLines MakerPage();
// A short page with one message, e.g. the answer to a command.
PageLines MessagePage(const RouterState& state, std::string_view title, std::string_view message,
                      const std::optional<std::string>& token);

// Escapes "&", "<", ">" and '"' for use in markup.
std::string EscapeHtml(std::string_view text);

}  // namespace quirn::sim
