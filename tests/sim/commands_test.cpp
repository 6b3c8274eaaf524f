// Commands change the simulated router: tokens gate them, switches flip the connection, a
// reboot or standby takes the router off the network, and the initial-password mode lasts
// until the password is set.
#include <gtest/gtest.h>

#include <thread>

#include "tests/sim/simulator_wire_fixture.h"

namespace quirn::sim::testing {
namespace {

constexpr char kAdminLte[] = "/index.cgi/info_btn_lte3g";
constexpr char kAdminWlan[] = "/index.cgi/info_btn_wlan";
constexpr char kAdminReboot[] = "/index.cgi/info_btn_reboot";
constexpr char kAdminStandby[] = "/index.cgi/info_btn_standby";
constexpr char kStatusLte[] = "/mobile/mobile.cgi/info_remote_main_lte3g";
constexpr char kStatusWlan[] = "/mobile/mobile.cgi/info_remote_main_wlan";
constexpr char kInitialTitle[] = "[管理者パスワードの初期設定]";

bool TitleIsInitial(const std::string& response) {
    std::string title = PageTitle(EucToUtf8(Body(response)).value_or("")).value_or("");
    return title.rfind(kInitialTitle, 0) == 0;
}

struct SwitchCase {
    const char* name;
    const char* path;
    const char* user;
    const char* password;
    Connection before;
    int status;
    Connection after;
};

class SwitchTest : public SimulatorWireTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SwitchTest, SwitchFlipsTheConnectionForTheRightAccount) {
    const SwitchCase& c = GetParam();
    StartSim();
    sim_->UpdateState([&](RouterState& s) { s.connection = c.before; });
    std::string token = PageToken(FetchStatusPage()).value_or("");
    Exchanged got = Send(CommandRequest(c.path, c.user, c.password, token));
    EXPECT_EQ(StatusCode(got.bytes), c.status);
    EXPECT_EQ(sim_->state().connection, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SwitchTest,
    ::testing::Values(SwitchCase{"AdminToLte", kAdminLte, "admin", kAdminPassword,
                                 Connection::kWirelessLan, 200, Connection::kLte},
                      SwitchCase{"AdminToWlan", kAdminWlan, "admin", kAdminPassword,
                                 Connection::kLte, 200, Connection::kWirelessLan},
                      SwitchCase{"StatusAccountToLte", kStatusLte, kStatusUser, kStatusUser,
                                 Connection::k3G, 200, Connection::kLte},
                      SwitchCase{"StatusPathAsAdmin", kStatusWlan, "admin", kAdminPassword,
                                 Connection::kNone, 200, Connection::kWirelessLan},
                      SwitchCase{"AdminPathRefusesStatusAccount", kAdminWlan, kStatusUser,
                                 kStatusUser, Connection::kLte, 401, Connection::kLte},
                      SwitchCase{"WrongAdminPassword", kAdminWlan, "admin", "guess",
                                 Connection::kLte, 401, Connection::kLte}),
    [](const ::testing::TestParamInfo<SwitchCase>& info) { return std::string(info.param.name); });

TEST_F(SimulatorWireTest, CommandNeedsTheLastTokenAndIsLoggedByteForByte) {
    StartSim();
    std::string older = FetchAdminToken();
    std::string latest = FetchAdminToken();
    ASSERT_NE(older, latest);

    for (const std::string& stale : {older, std::string(), latest + "0"}) {
        Exchanged refused = Send(CommandRequest(kAdminWlan, "admin", kAdminPassword, stale));
        EXPECT_EQ(StatusCode(refused.bytes), 403) << stale;
        EXPECT_EQ(sim_->state().connection, Connection::kLte);
    }

    std::string request = CommandRequest(kAdminWlan, "admin", kAdminPassword, latest);
    EXPECT_EQ(StatusCode(Send(request).bytes), 200);
    EXPECT_EQ(sim_->state().connection, Connection::kWirelessLan);
    ASSERT_TRUE(sim_->WaitForRequests(6, 1000ms));
    EXPECT_EQ(sim_->Requests().back(), request);  // with the line ends after the body
    ReceivedRequest last = sim_->ReceivedRequests().back();
    EXPECT_EQ(last.method, "POST");
    EXPECT_EQ(last.path, kAdminWlan);
    EXPECT_EQ(last.body, "DISABLED_CHECKBOX=&CHECK_ACTION_MODE=1&SESSION_ID=" + latest);

    // The answer handed out a new token, so the one just used is spent.
    EXPECT_NE(sim_->LastToken(), latest);
    EXPECT_EQ(StatusCode(Send(CommandRequest(kAdminLte, "admin", kAdminPassword, latest)).bytes),
              403);
    EXPECT_EQ(sim_->state().connection, Connection::kWirelessLan);
}

TEST_F(SimulatorWireTest, RebootRefusesConnectionsForItsDownTimeThenComesBack) {
    SimOptions options;
    options.reboot_down_time = 400ms;
    StartSim(options);
    std::string token = FetchAdminToken();
    auto start = std::chrono::steady_clock::now();
    Exchanged got = Send(CommandRequest(kAdminReboot, "admin", kAdminPassword, token));
    EXPECT_EQ(StatusCode(got.bytes), 200);

    EXPECT_EQ(TryConnect(port_, 1000ms), ConnectOutcome::kRefused);
    EXPECT_FALSE(sim_->reachable());
    ConnectOutcome outcome = ConnectOutcome::kRefused;
    while (outcome != ConnectOutcome::kConnected &&
           std::chrono::steady_clock::now() - start < 3000ms) {
        std::this_thread::sleep_for(20ms);
        outcome = TryConnect(port_, 1000ms);
    }
    EXPECT_EQ(outcome, ConnectOutcome::kConnected);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 400ms);

    // Back on the same port; sessions from before the reboot are gone.
    EXPECT_EQ(sim_->port(), port_);
    EXPECT_EQ(StatusCode(Send(CommandRequest(kAdminLte, "admin", kAdminPassword, token)).bytes),
              403);
    EXPECT_FALSE(StatusItems(FetchStatusPage()).empty());
}

TEST_F(SimulatorWireTest, StandbyStaysUnreachableUntilWokenUp) {
    SimOptions options;
    options.reboot_down_time = 50ms;
    StartSim(options);
    std::string token = PageToken(FetchStatusPage()).value_or("");
    Exchanged got = Send(CommandRequest("/mobile/mobile.cgi/info_remote_main_standby", kStatusUser,
                                        kStatusUser, token));
    EXPECT_EQ(StatusCode(got.bytes), 200);
    EXPECT_TRUE(sim_->in_standby());
    EXPECT_EQ(TryConnect(port_, 1000ms), ConnectOutcome::kRefused);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(TryConnect(port_, 1000ms), ConnectOutcome::kRefused);

    sim_->WakeUp();
    ConnectOutcome outcome = ConnectOutcome::kRefused;
    for (int i = 0; i < 100 && outcome != ConnectOutcome::kConnected; ++i) {
        std::this_thread::sleep_for(20ms);
        outcome = TryConnect(port_, 1000ms);
    }
    EXPECT_EQ(outcome, ConnectOutcome::kConnected);
    EXPECT_FALSE(StatusItems(FetchStatusPage()).empty());
}

TEST_F(SimulatorWireTest, InitialPasswordModeUntilThePasswordIsSet) {
    SimOptions options;
    options.state.initial_password_mode = true;
    StartSim(options);

    Exchanged top = Send(GetRequest("/"));
    EXPECT_EQ(StatusCode(top.bytes), 200);
    EXPECT_TRUE(TitleIsInitial(top.bytes));
    std::string first_token = PageToken(EucToUtf8(Body(top.bytes)).value_or("")).value_or("");
    ASSERT_FALSE(first_token.empty());
    // Every router page is the initial-password page; the status account is still checked.
    EXPECT_TRUE(TitleIsInitial(Send(GetRequest(kStatusPath, kStatusUser, kStatusUser)).bytes));
    EXPECT_EQ(StatusCode(Send(GetRequest(kStatusPath, kStatusUser, "x")).bytes), 401);
    EXPECT_TRUE(TitleIsInitial(Send(GetRequest(kAdminPath, "admin", kAdminPassword)).bytes));
    std::string token = sim_->LastToken();
    EXPECT_EQ(StatusCode(Send(CommandRequest(kAdminLte, "admin", kAdminPassword, token)).bytes),
              401);

    const std::string password = "new pass&word=1%";
    EXPECT_EQ(StatusCode(Send(PasswordRequest(password, password, first_token)).bytes), 403);
    EXPECT_EQ(StatusCode(Send(PasswordRequest(password, "other", token)).bytes), 400);
    EXPECT_EQ(StatusCode(Send(PasswordRequest("", "", sim_->LastToken())).bytes), 400);
    EXPECT_TRUE(sim_->state().initial_password_mode);

    std::string request = PasswordRequest(password, password, sim_->LastToken());
    EXPECT_EQ(StatusCode(Send(request).bytes), 200);
    EXPECT_FALSE(sim_->state().initial_password_mode);
    EXPECT_EQ(sim_->state().admin_password, password);
    EXPECT_EQ(sim_->Requests().back(), request);

    Exchanged status = Send(GetRequest(kStatusPath, kStatusUser, kStatusUser));
    EXPECT_FALSE(TitleIsInitial(status.bytes));
    EXPECT_EQ(StatusItems(EucToUtf8(Body(status.bytes)).value_or(""))["装置情報電池残量"], "80%");
    EXPECT_EQ(StatusCode(Send(GetRequest(kAdminPath, "admin", password)).bytes), 200);
    EXPECT_EQ(StatusCode(Send(GetRequest(kAdminPath, "admin", kAdminPassword)).bytes), 401);
    // The wizard is closed once a password is set.
    EXPECT_EQ(StatusCode(Send(PasswordRequest("again", "again", sim_->LastToken())).bytes), 403);
    EXPECT_EQ(sim_->state().admin_password, password);
}

}  // namespace
}  // namespace quirn::sim::testing
