// router_pages.cpp: page markup. Every value cell keeps its text and "</td>" on one line, so a
// reader that takes a text run only up to the next tag on the same line sees the whole value.
#include "sim/router_pages.h"

#include <cstdio>

namespace quirn::sim {
namespace {

void Head(PageLines& lines, std::string_view title) {
    lines.emplace_back(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\">");
    lines.emplace_back("<html>");
    lines.emplace_back("<head>");
    lines.emplace_back("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">");
    lines.emplace_back("<meta http-equiv=\"Pragma\" content=\"no-cache\">");
    lines.emplace_back("<title>" + EscapeHtml(title) + "</title>");
    lines.emplace_back("</head>");
    lines.emplace_back("<body>");
}

void Tail(PageLines& lines) {
    lines.emplace_back(kBodyEndLine);
    lines.emplace_back(kHtmlEndLine);
}

void TokenField(PageLines& lines, const std::optional<std::string>& token) {
    if (token) {
        lines.emplace_back("<input type=\"hidden\" id=\"SESSION_ID\" name=\"SESSION_ID\" value=\"" +
                           EscapeHtml(*token) + "\">");
    }
}

// One label/value row; `value_markup` is already markup (escaped where needed).
void Row(PageLines& lines, std::string_view label, const std::string& value_markup) {
    lines.emplace_back("<tr><td class=\"small_item_td\">" + std::string(label) +
                       "</td><td class=\"small_item_td2\">" + value_markup + "</td></tr>");
}

void Section(PageLines& lines, std::string_view heading) {
    lines.emplace_back("<h2>" + std::string(heading) + "</h2>");
    lines.emplace_back("<table class=\"small_table\" cellspacing=\"0\">");
}

void EndSection(PageLines& lines) {
    lines.emplace_back("</table>");
}

std::string Decimal(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

void CommandButton(PageLines& lines, std::string_view path, std::string_view label,
                   const std::optional<std::string>& token) {
    lines.emplace_back("<form method=\"post\" action=\"" + std::string(path) + "\">");
    lines.emplace_back("<input type=\"hidden\" name=\"DISABLED_CHECKBOX\" value=\"\">");
    lines.emplace_back("<input type=\"hidden\" name=\"CHECK_ACTION_MODE\" value=\"1\">");
    if (token) {
        lines.emplace_back("<input type=\"hidden\" name=\"SESSION_ID\" value=\"" +
                           EscapeHtml(*token) + "\">");
    }
    lines.emplace_back("<input type=\"submit\" value=\"" + std::string(label) + "\">");
    lines.emplace_back("</form>");
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string ConnectionText(const RouterState& state) {
    if (!state.connection_text.empty()) {
        return state.connection_text;
    }
    switch (state.connection) {
        case Connection::kNone:
            return "インターネット未接続";
        case Connection::kWirelessLan:
            return "インターネット利用可：無線LAN";
        case Connection::kLte:
            return "インターネット利用可：LTE";
        case Connection::k3G:
            return "インターネット利用可：3G";
    }
    return "";
}

std::string RadioText(Radio radio) {
    switch (radio) {
        case Radio::kVeryStrong:
            return "非常に強い";
        case Radio::kStrong:
            return "強い";
        case Radio::kMedium:
            return "中";
        case Radio::kWeak:
            return "弱い";
        case Radio::kOutOfRange:
            return "圏外";
    }
    return "";
}

std::string BatteryText(const RouterState& state) {
    std::string percent = std::to_string(state.battery_percent) + "%";
    return state.charging ? "充電中(" + percent + ")" : percent;
}

PageLines StatusPage(const RouterState& state, bool admin_view,
                     const std::optional<std::string>& token) {
    PageLines lines;
    Head(lines, state.device_name + (admin_view ? " - 情報" : " - リモート情報"));
    lines.emplace_back(
        std::string("<form name=\"info_form\" method=\"post\" action=\"") +
        (admin_view ? "/index.cgi/info_btn" : "/mobile/mobile.cgi/info_remote_main") + "\">");
    Section(lines, "装置情報");
    Row(lines, "装置名", EscapeHtml(state.device_name));
    Row(lines, "ファームウェアバージョン", EscapeHtml(state.firmware_version));
    Row(lines, "ファームウェア更新通知",
        state.firmware_update ? "新ファームウェアへ更新可能です" : "最新のファームウェアです");
    Row(lines, "電池残量", BatteryText(state));
    EndSection(lines);

    Section(lines, "WiMAX情報(参考値)");
    bool out_of_range = state.radio == Radio::kOutOfRange;
    Row(lines, "RSSI",
        out_of_range ? "-" : std::to_string(-95 + 6 * static_cast<int>(state.radio)) + "dBm");
    Row(lines, "CINR",
        out_of_range ? "-" : std::to_string(3 * static_cast<int>(state.radio)) + "dB");
    EndSection(lines);

    Section(lines, "接続状態");
    Row(lines, "動作モード", "ハイスピードプラスエリア");
    // The connection text goes out as markup: tests may put character references in it.
    Row(lines, "接続状態", ConnectionText(state));
    Row(lines, "電波状態", RadioText(state.radio));
    EndSection(lines);

    Section(lines, "WAN側状態");
    bool online = state.connection != Connection::kNone;
    Row(lines, "IPアドレス／ネットマスク", online ? EscapeHtml(state.wan_address) : "-");
    Row(lines, "ドメイン名", online ? EscapeHtml(state.domain_name) : "-");
    EndSection(lines);

    Section(lines, "Bluetooth情報");
    Row(lines, "Bluetooth名", EscapeHtml(state.bt_name));
    Row(lines, "MACアドレス(Bluetooth)", EscapeHtml(state.bt_address));
    EndSection(lines);

    Section(lines, "無線情報");
    Row(lines, "WiFi WAN側連動", state.wifi_wan_link ? "enable" : "disable");
    EndSection(lines);

    Section(lines, "データ通信量(目安)");
    bool limited = state.volume_limit_gb > 0;
    Row(lines, "データ通信量の上限設定",
        limited ? std::to_string(state.volume_limit_gb) + "GB" : "設定なし");
    Row(lines, "データ通信量(当月)", Decimal(state.volume_month_gb, 2) + "GB");
    Row(lines, "上限設定への到達度",
        limited ? Decimal(state.volume_month_gb * 100.0 / state.volume_limit_gb, 1) + "%" : "");
    EndSection(lines);

    TokenField(lines, token);
    lines.emplace_back("</form>");
    if (admin_view) {
        CommandButton(lines, "/index.cgi/info_btn_reboot", "再起動", token);
        CommandButton(lines, "/index.cgi/info_btn_standby", "スタンバイ", token);
        CommandButton(lines, "/index.cgi/info_btn_lte3g", "LTE/3G優先", token);
        CommandButton(lines, "/index.cgi/info_btn_wlan", "無線LAN優先", token);
    }
    Tail(lines);
    return lines;
}

PageLines InitialPasswordPage(const RouterState& state, const std::optional<std::string>& token) {
    PageLines lines;
    Head(lines, std::string(kInitialPasswordTitle) + " " + state.device_name);
    lines.emplace_back(
        "<form name=\"wizard_form\" method=\"post\" action=\"/index.cgi/wizard_password_set\">");
    lines.emplace_back("<h2>管理者パスワードの初期設定</h2>");
    lines.emplace_back(
        "<p>管理者パスワードが設定されていません。新しいパスワードを入力してください。</p>");
    lines.emplace_back("<table class=\"small_table\" cellspacing=\"0\">");
    Row(lines, "新しいパスワード",
        "<input type=\"password\" name=\"INIT_PASSWD\" maxlength=\"64\">");
    Row(lines, "新しいパスワード(確認)",
        "<input type=\"password\" name=\"INIT_RETRY_PASSWD\" maxlength=\"64\">");
    lines.emplace_back("</table>");
    lines.emplace_back("<input type=\"hidden\" name=\"DISABLED_CHECKBOX\" value=\"\">");
    lines.emplace_back("<input type=\"hidden\" name=\"CHECK_ACTION_MODE\" value=\"1\">");
    TokenField(lines, token);
    lines.emplace_back("<input type=\"submit\" value=\"設定\">");
    lines.emplace_back("</form>");
    Tail(lines);
    return lines;
}

PageLines TopPage(const RouterState& state, const std::optional<std::string>& token) {
    PageLines lines;
    Head(lines, state.device_name);
    lines.emplace_back("<h1>" + EscapeHtml(state.device_name) + "</h1>");
    lines.emplace_back("<ul>");
    lines.emplace_back("<li><a href=\"/index.cgi/info_btn\">情報</a></li>");
    lines.emplace_back("<li><a href=\"/index.cgi/fw_main\">ファームウェア更新</a></li>");
    lines.emplace_back("<li><a href=\"/mobile/mobile.cgi/info_remote_main\">リモート情報</a></li>");
    lines.emplace_back("</ul>");
    lines.emplace_back("<form name=\"top_form\" method=\"post\" action=\"/index.cgi/info_btn\">");
    TokenField(lines, token);
    lines.emplace_back("</form>");
    Tail(lines);
    return lines;
}

PageLines FirmwarePage(const RouterState& state, const std::optional<std::string>& token) {
    PageLines lines;
    Head(lines, state.device_name + " - ファームウェア更新");
    lines.emplace_back("<form name=\"fw_form\" method=\"post\" action=\"/index.cgi/fw_main\">");
    Section(lines, "ファームウェア更新");
    Row(lines, "現在のバージョン", EscapeHtml(state.firmware_version));
    Row(lines, "ファームウェア更新通知",
        state.firmware_update ? "新ファームウェアへ更新可能です" : "最新のファームウェアです");
    EndSection(lines);
    TokenField(lines, token);
    if (state.firmware_update) {
        lines.emplace_back("<input type=\"submit\" value=\"更新開始\">");
    }
    lines.emplace_back("</form>");
    Tail(lines);
    return lines;
}

PageLines MakerPage() {
    PageLines lines;
    Head(lines, "Vandrel Mobile - WiMAX");
    lines.emplace_back("<h1>Vandrel Mobile</h1>");
    lines.emplace_back("<p>WiMAX サービスのご案内</p>");
    Tail(lines);
    return lines;
}

PageLines MessagePage(const RouterState& state, std::string_view title, std::string_view message,
                      const std::optional<std::string>& token) {
    PageLines lines;
    Head(lines, state.device_name + " - " + std::string(title));
    lines.emplace_back("<h2>" + std::string(title) + "</h2>");
    lines.emplace_back("<p>" + std::string(message) + "</p>");
    lines.emplace_back(
        "<form name=\"result_form\" method=\"post\" action=\"/index.cgi/info_btn\">");
    TokenField(lines, token);
    lines.emplace_back("</form>");
    Tail(lines);
    return lines;
}

}  // namespace quirn::sim
