// The pages the simulator serves: EUC-JP text that reads back to the state's values under the
// keys a status-page reader uses, accounts, and session tokens.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "tests/sim/simulator_wire_fixture.h"

namespace quirn::sim::testing {
namespace {

// The heading + label keys a reader of the status page knows.
const std::set<std::string> kReaderKeys = {
    "装置情報装置名",
    "装置情報ファームウェアバージョン",
    "装置情報ファームウェア更新通知",
    "装置情報電池残量",
    "電池残量電池残量",
    "装置情報電池残量2",
    "WiMAX情報RSSI",
    "WiMAX情報CINR",
    "接続状態動作モード",
    "接続状態接続状態",
    "接続状態電波状態",
    "WAN側状態IPアドレス／ネットマスク",
    "Bluetooth情報Bluetooth名",
    "Bluetooth情報MACアドレス(Bluetooth)",
    "WAN側状態ドメイン名",
    "無線情報WiFi WAN側連動",
    "データ通信量データ通信量の上限設定",
    "データ通信量データ通信量(当月)",
    "データ通信量上限設定への到達度",
};

using Items = std::map<std::string, std::string>;

const Items kDefaultItems = {
    {"装置情報装置名", "Quirn Pocket Q7"},
    {"装置情報ファームウェアバージョン", "2.1.4"},
    {"装置情報ファームウェア更新通知", "最新のファームウェアです"},
    {"装置情報電池残量", "80%"},
    {"WiMAX情報RSSI", "-71dBm"},
    {"WiMAX情報CINR", "12dB"},
    {"接続状態動作モード", "ハイスピードプラスエリア"},
    {"接続状態接続状態", "インターネット利用可：LTE"},
    {"接続状態電波状態", "強い"},
    {"WAN側状態IPアドレス／ネットマスク", "203.0.113.45/255.255.255.0"},
    {"WAN側状態ドメイン名", "mobile.vandrel.example"},
    {"Bluetooth情報Bluetooth名", "QUIRN-Q7-5C21"},
    {"Bluetooth情報MACアドレス(Bluetooth)", "00:1B:DC:42:5C:21"},
    {"無線情報WiFi WAN側連動", "enable"},
    {"データ通信量データ通信量の上限設定", "7GB"},
    {"データ通信量データ通信量(当月)", "2.45GB"},
    {"データ通信量上限設定への到達度", "35.0%"},
};

struct PageCase {
    const char* name;
    std::function<void(RouterState&)> change;
    Items expected_changes;
};

class StatusPageTest : public SimulatorWireTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(StatusPageTest, PageReadsBackToTheStateUnderReaderKeys) {
    StartSim();
    sim_->UpdateState(GetParam().change);
    Exchanged got = Send(GetRequest(kStatusPath, kStatusUser, kStatusUser));
    ASSERT_TRUE(got.connected);
    EXPECT_EQ(got.bytes.substr(0, 17), "HTTP/1.1 200 OK\r\n");
    EXPECT_NE(HeaderBlock(got.bytes).find("Content-Type: text/html; charset=EUC-JP"),
              std::string::npos);
    std::optional<std::string> page = EucToUtf8(Body(got.bytes));
    ASSERT_TRUE(page) << "the page is not EUC-JP";

    Items expected = kDefaultItems;
    for (const auto& [key, value] : GetParam().expected_changes) {
        expected[key] = value;
    }
    Items items = StatusItems(*page);
    EXPECT_EQ(items, expected);
    for (const auto& [key, value] : items) {
        EXPECT_TRUE(kReaderKeys.count(key)) << "unknown key " << key;
    }
    EXPECT_EQ(PageTitle(*page), "Quirn Pocket Q7 - リモート情報");
    EXPECT_EQ(PageToken(*page), sim_->LastToken());
    EXPECT_NE(page->find("</body>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    States, StatusPageTest,
    ::testing::Values(PageCase{"Default", [](RouterState&) {}, {}},
                      PageCase{"Charging",
                               [](RouterState& s) {
                                   s.charging = true;
                                   s.battery_percent = 45;
                               },
                               {{"装置情報電池残量", "充電中(45%)"}}},
                      PageCase{"Offline",
                               [](RouterState& s) {
                                   s.connection = Connection::kNone;
                                   s.radio = Radio::kOutOfRange;
                               },
                               {{"接続状態接続状態", "インターネット未接続"},
                                {"接続状態電波状態", "圏外"},
                                {"WiMAX情報RSSI", "-"},
                                {"WiMAX情報CINR", "-"},
                                {"WAN側状態IPアドレス／ネットマスク", "-"},
                                {"WAN側状態ドメイン名", "-"}}},
                      PageCase{
                          "WirelessLanUpdateNoLimit",
                          [](RouterState& s) {
                              s.connection = Connection::kWirelessLan;
                              s.radio = Radio::kVeryStrong;
                              s.firmware_update = true;
                              s.wifi_wan_link = false;
                              s.volume_limit_gb = 0;
                              s.battery_percent = 100;
                          },
                          {{"接続状態接続状態", "インターネット利用可：無線LAN"},
                           {"接続状態電波状態", "非常に強い"},
                           {"WiMAX情報RSSI", "-59dBm"},
                           {"WiMAX情報CINR", "18dB"},
                           {"装置情報ファームウェア更新通知", "新ファームウェアへ更新可能です"},
                           {"装置情報電池残量", "100%"},
                           {"無線情報WiFi WAN側連動", "disable"},
                           {"データ通信量データ通信量の上限設定", "設定なし"},
                           {"データ通信量上限設定への到達度", ""}}},
                      PageCase{"ThreeGMediumOverLimit",
                               [](RouterState& s) {
                                   s.connection = Connection::k3G;
                                   s.radio = Radio::kMedium;
                                   s.volume_month_gb = 7.7;
                                   s.battery_percent = 0;
                               },
                               {{"接続状態接続状態", "インターネット利用可：3G"},
                                {"接続状態電波状態", "中"},
                                {"WiMAX情報RSSI", "-83dBm"},
                                {"WiMAX情報CINR", "6dB"},
                                {"装置情報電池残量", "0%"},
                                {"データ通信量データ通信量(当月)", "7.70GB"},
                                {"データ通信量上限設定への到達度", "110.0%"}}},
                      PageCase{"MarkupInNamesIsEscapedConnectionTextIsVerbatim",
                               [](RouterState& s) {
                                   s.bt_name = "Q7 <A&B>";
                                   s.connection_text = "インターネット利用可：WiMAX &amp; LTE";
                               },
                               {{"Bluetooth情報Bluetooth名", "Q7 &lt;A&amp;B&gt;"},
                                {"接続状態接続状態", "インターネット利用可：WiMAX &amp; LTE"}}}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

struct AccessCase {
    const char* name;
    std::string request;
    int status;
};

class AccessTest : public SimulatorWireTest, public ::testing::WithParamInterface<AccessCase> {};

TEST_P(AccessTest, AccountsAreEnforcedPerPage) {
    StartSim();
    Exchanged got = Send(GetParam().request);
    EXPECT_EQ(StatusCode(got.bytes), GetParam().status);
    std::string headers = HeaderBlock(got.bytes);
    if (GetParam().status == 401) {
        EXPECT_NE(headers.find("WWW-Authenticate: Basic realm="), std::string::npos);
        EXPECT_EQ(Body(got.bytes), "");
    }
    if (GetParam().status == 200) {
        EXPECT_TRUE(EucToUtf8(Body(got.bytes)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, AccessTest,
    ::testing::Values(
        AccessCase{"StatusNoCredentials", GetRequest(kStatusPath), 401},
        AccessCase{"StatusWrongPassword", GetRequest(kStatusPath, kStatusUser, "tarn-acces"), 401},
        AccessCase{"StatusAccount", GetRequest(kStatusPath, kStatusUser, kStatusUser), 200},
        AccessCase{"StatusAsAdmin", GetRequest(kStatusPath, "admin", kAdminPassword), 200},
        AccessCase{"StatusMalformed",
                   "GET /mobile/mobile.cgi/info_remote_main HTTP/1.0\r\nAuthorization: Basic "
                   "!!!\r\n\r\n",
                   401},
        AccessCase{"AdminWithStatusAccount", GetRequest(kAdminPath, kStatusUser, kStatusUser), 401},
        AccessCase{"AdminWrongPassword", GetRequest(kAdminPath, "admin", "quirn-admin "), 401},
        AccessCase{"AdminAccount", GetRequest(kAdminPath, "admin", kAdminPassword), 200},
        AccessCase{"FirmwarePage", GetRequest("/index.cgi/fw_main", "admin", kAdminPassword), 200},
        AccessCase{"FirmwarePageNoCredentials", GetRequest("/index.cgi/fw_main"), 401},
        AccessCase{"TopPage", GetRequest("/"), 200},
        AccessCase{"MakerHost", GetRequest("/function/wimax/index.html"), 200},
        AccessCase{"UnknownPage", GetRequest("/index.cgi/nothing"), 404},
        AccessCase{"CommandByGet",
                   GetRequest("/index.cgi/info_btn_reboot", "admin", kAdminPassword), 405},
        AccessCase{"NotHttp", "hello\r\n\r\n", 400}),
    [](const ::testing::TestParamInfo<AccessCase>& info) { return std::string(info.param.name); });

TEST_F(SimulatorWireTest, AdminLoginPageReadsLikeAStatusPage) {
    StartSim();
    Exchanged got = Send(GetRequest(kAdminPath, "admin", kAdminPassword));
    std::string page = EucToUtf8(Body(got.bytes)).value_or("");
    Items items = StatusItems(page);
    EXPECT_EQ(items["装置情報電池残量"], "80%");
    EXPECT_EQ(items["接続状態接続状態"], "インターネット利用可：LTE");
    EXPECT_EQ(PageToken(page), sim_->LastToken());
}

TEST_F(SimulatorWireTest, TopPageCarriesATokenWithoutCredentials) {
    StartSim();
    std::string page = EucToUtf8(Body(Send(GetRequest("/")).bytes)).value_or("");
    EXPECT_EQ(PageTitle(page), "Quirn Pocket Q7");
    ASSERT_TRUE(PageToken(page));
    EXPECT_EQ(*PageToken(page), sim_->LastToken());
}

TEST_F(SimulatorWireTest, EveryPageHandsOutAFreshToken) {
    StartSim();
    EXPECT_EQ(sim_->LastToken(), "");
    std::set<std::string> tokens;
    for (int i = 0; i < 4; ++i) {
        std::optional<std::string> token = PageToken(FetchStatusPage());
        ASSERT_TRUE(token);
        EXPECT_EQ(token->size(), 32u);
        EXPECT_EQ(*token, sim_->LastToken());
        tokens.insert(*token);
    }
    EXPECT_EQ(tokens.size(), 4u);
}

TEST_F(SimulatorWireTest, ServesConcurrentClients) {
    StartSim();
    std::vector<std::thread> clients;
    std::atomic<int> served{0};
    for (int i = 0; i < 8; ++i) {
        clients.emplace_back([&] {
            Exchanged got = Send(GetRequest(kStatusPath, kStatusUser, kStatusUser));
            if (StatusCode(got.bytes) == 200 && got.bytes.find("</html>") != std::string::npos) {
                ++served;
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    EXPECT_EQ(served.load(), 8);
    EXPECT_EQ(sim_->RequestCount(), 8u);
}

}  // namespace
}  // namespace quirn::sim::testing
