// Faults on request: each one must change exactly the requests it targets, in the way a
// client's error handling is meant to meet.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "tests/sim/simulator_wire_fixture.h"

namespace quirn::sim::testing {
namespace {

const std::string kStatusGet = GetRequest(kStatusPath, kStatusUser, kStatusUser);

size_t LongestLine(const std::string& text) {
    size_t longest = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

struct ResponseFaultCase {
    const char* name;
    Fault fault;
    std::function<void(const Exchanged&, RouterSimulator&)> check;
};

class ResponseFaultTest : public SimulatorWireTest,
                          public ::testing::WithParamInterface<ResponseFaultCase> {};

TEST_P(ResponseFaultTest, StatusPageAnsweredWithTheFault) {
    SimOptions options;
    options.faults = {FaultPlan{GetParam().fault, "", -1}};
    StartSim(options);
    Exchanged got = Send(kStatusGet, 500ms);
    ASSERT_TRUE(got.connected);
    GetParam().check(got, *sim_);
    EXPECT_EQ(sim_->RequestCount(), 1u);  // logged whatever the answer
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ResponseFaultTest,
    ::testing::Values(
        ResponseFaultCase{"Unauthorized", Fault::kUnauthorized,
                          [](const Exchanged& got, RouterSimulator&) {
                              EXPECT_EQ(StatusCode(got.bytes), 401);
                              EXPECT_EQ(Body(got.bytes), "");
                          }},
        ResponseFaultCase{"UnauthorizedWithBody", Fault::kUnauthorizedWithBody,
                          [](const Exchanged& got, RouterSimulator&) {
                              EXPECT_EQ(StatusCode(got.bytes), 401);
                              EXPECT_NE(Body(got.bytes).find("401 Unauthorized"),
                                        std::string::npos);
                          }},
        ResponseFaultCase{"Redirect", Fault::kRedirect,
                          [](const Exchanged& got, RouterSimulator&) {
                              EXPECT_EQ(StatusCode(got.bytes), 302);
                              EXPECT_NE(HeaderBlock(got.bytes).find("\r\nLocation: /"),
                                        std::string::npos);
                          }},
        ResponseFaultCase{"NoToken", Fault::kNoToken,
                          [](const Exchanged& got, RouterSimulator& sim) {
                              std::string page = EucToUtf8(Body(got.bytes)).value_or("");
                              EXPECT_EQ(StatusItems(page)["装置情報電池残量"], "80%");
                              EXPECT_EQ(page.find("SESSION_ID"), std::string::npos);
                              EXPECT_EQ(sim.LastToken(), "");  // none was handed out
                          }},
        ResponseFaultCase{"InvalidEucJp", Fault::kInvalidEucJp,
                          [](const Exchanged& got, RouterSimulator&) {
                              std::string body = Body(got.bytes);
                              size_t bad = body.find("\x8E\xB1");
                              ASSERT_NE(bad, std::string::npos);
                              EXPECT_GT(bad, body.find("<body>"));
                              EXPECT_NE(body.find("</body>"), std::string::npos);
                          }},
        ResponseFaultCase{"NoBodyEndClosed", Fault::kNoBodyEndClosed,
                          [](const Exchanged& got, RouterSimulator& sim) {
                              EXPECT_FALSE(got.timed_out);
                              std::string page = EucToUtf8(Body(got.bytes)).value_or("");
                              EXPECT_EQ(page.find("</body>"), std::string::npos);
                              EXPECT_EQ(PageToken(page), sim.LastToken());
                              EXPECT_EQ(StatusItems(page).size(), 17u);
                          }},
        ResponseFaultCase{"LongLine", Fault::kLongLine,
                          [](const Exchanged& got, RouterSimulator&) {
                              EXPECT_GT(LongestLine(Body(got.bytes)), 4094u);
                              EXPECT_TRUE(PageToken(Body(got.bytes)));
                          }},
        ResponseFaultCase{"LongLineUnended", Fault::kLongLineUnended,
                          [](const Exchanged& got, RouterSimulator&) {
                              std::string body = Body(got.bytes);
                              EXPECT_FALSE(got.timed_out);
                              EXPECT_EQ(body.find("</body>"), std::string::npos);
                              EXPECT_TRUE(PageToken(body));
                              const size_t last = body.rfind('\n') + 1;
                              EXPECT_EQ(body.size() - last, 5003u);  // "<p>" and 5000 bytes
                          }},
        ResponseFaultCase{"HugePage", Fault::kHugePage,
                          [](const Exchanged& got, RouterSimulator&) {
                              std::string body = Body(got.bytes);
                              EXPECT_GE(body.size(), 10u * 1024 * 1024);
                              EXPECT_EQ(body.substr(body.size() - 16), "</body>\n</html>\n");
                              EXPECT_TRUE(PageToken(body));
                          }},
        ResponseFaultCase{"Garbage", Fault::kBinaryGarbage,
                          [](const Exchanged& got, RouterSimulator&) {
                              EXPECT_EQ(got.bytes.size(), 2048u);
                              EXPECT_EQ(got.bytes.find("HTTP"), std::string::npos);
                          }},
        ResponseFaultCase{"Silence", Fault::kAcceptThenSilence,
                          [](const Exchanged& got, RouterSimulator&) {
                              EXPECT_TRUE(got.timed_out);
                              EXPECT_EQ(got.bytes, "");
                          }},
        ResponseFaultCase{"ResetMidPage", Fault::kResetMidPage,
                          [](const Exchanged& got, RouterSimulator&) {
                              EXPECT_TRUE(got.reset ||
                                          got.bytes.find("</html>") == std::string::npos);
                              EXPECT_EQ(got.bytes.find("</body>"), std::string::npos);
                          }}),
    [](const ::testing::TestParamInfo<ResponseFaultCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(SimulatorWireTest, FaultHitsOnlyItsPathAndOnlyAsOftenAsAsked) {
    StartSim();
    sim_->SetFault(FaultPlan{Fault::kUnauthorized, kAdminPath, 2});
    EXPECT_EQ(StatusCode(Send(kStatusGet).bytes), 200);
    for (int expected : {401, 401, 200}) {
        EXPECT_EQ(StatusCode(Send(GetRequest(kAdminPath, "admin", kAdminPassword)).bytes),
                  expected);
    }
    sim_->SetFault(Fault::kRedirect);
    EXPECT_EQ(StatusCode(Send(kStatusGet).bytes), 302);
    sim_->ClearFaults();
    EXPECT_EQ(StatusCode(Send(kStatusGet).bytes), 200);
}

TEST_F(SimulatorWireTest, PageFaultLeavesCommandsAlone) {
    StartSim();
    std::string token = FetchAdminToken();
    ASSERT_FALSE(token.empty());
    sim_->SetFault(FaultPlan{Fault::kNoToken, "", 1});
    // The one-time page fault is not used up by the command, and the command is untouched.
    EXPECT_EQ(
        StatusCode(
            Send(CommandRequest("/index.cgi/info_btn_wlan", "admin", kAdminPassword, token)).bytes),
        200);
    EXPECT_FALSE(PageToken(FetchStatusPage()));
    EXPECT_TRUE(PageToken(FetchStatusPage()));
}

TEST_F(SimulatorWireTest, NoAdminPagesLeavesTheStatusAccountWorking) {
    StartSim();
    sim_->SetFault(Fault::kNoAdminPages);
    EXPECT_EQ(StatusCode(Send(GetRequest(kAdminPath, "admin", kAdminPassword)).bytes), 404);
    std::string token = PageToken(FetchStatusPage()).value_or("");
    EXPECT_EQ(
        StatusCode(
            Send(CommandRequest("/index.cgi/info_btn_wlan", "admin", kAdminPassword, token)).bytes),
        404);
    EXPECT_EQ(sim_->state().connection, Connection::kLte);
    EXPECT_EQ(StatusCode(Send(CommandRequest("/mobile/mobile.cgi/info_remote_main_wlan",
                                             kStatusUser, kStatusUser, token))
                             .bytes),
              200);
    EXPECT_EQ(sim_->state().connection, Connection::kWirelessLan);
}

TEST_F(SimulatorWireTest, RebootThatDropsTheConnectionStillReboots) {
    SimOptions options;
    options.reboot_down_time = 5000ms;
    StartSim(options);
    sim_->SetFault(Fault::kRebootDropsConnection);
    EXPECT_EQ(StatusCode(Send(kStatusGet).bytes), 200);  // other requests are untouched
    std::string token = FetchAdminToken();
    Exchanged got =
        Send(CommandRequest("/index.cgi/info_btn_reboot", "admin", kAdminPassword, token));
    EXPECT_TRUE(got.connected);
    EXPECT_FALSE(got.timed_out);
    EXPECT_EQ(got.bytes, "");
    EXPECT_FALSE(sim_->reachable());
    EXPECT_EQ(TryConnect(port_, 1000ms), ConnectOutcome::kRefused);
}

TEST_F(SimulatorWireTest, PageLeftOpenDoesNotHoldUpOtherClients) {
    StartSim();
    sim_->SetFault(FaultPlan{Fault::kNoBodyEndOpen, "", 1});
    Exchanged held;
    std::thread client([&] { held = Send(kStatusGet, 500ms); });
    ASSERT_TRUE(sim_->WaitForRequests(1, 2000ms));
    Exchanged other = Send(kStatusGet, 2000ms);
    EXPECT_NE(other.bytes.find("</body>"), std::string::npos);
    client.join();
    EXPECT_TRUE(held.timed_out);
    std::string page = EucToUtf8(Body(held.bytes)).value_or("");
    EXPECT_EQ(page.find("</body>"), std::string::npos);
    EXPECT_TRUE(PageToken(page));
}

TEST_F(SimulatorWireTest, DripSendsTheSameBytesSlowly) {
    SimOptions options;
    options.drip_interval = 2ms;
    StartSim(options);
    const std::string request = GetRequest("/no/such/page");
    std::string normal = Send(request).bytes;
    sim_->SetFault(Fault::kDrip);
    auto start = std::chrono::steady_clock::now();
    Exchanged dripped = Send(request);
    EXPECT_EQ(dripped.bytes, normal);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2ms * (normal.size() - 1));
}

TEST_F(SimulatorWireTest, StatusLineArrivesInTwoPackets) {
    StartSim();
    sim_->SetFault(Fault::kSplitStatusLine);
    EXPECT_EQ(FirstRead(port_, kStatusGet), "HTTP/1");
    EXPECT_EQ(StatusCode(Send(kStatusGet).bytes), 200);
}

TEST_F(SimulatorWireTest, SlowAcceptHoldsConnectionsBack) {
    SimOptions options;
    options.slow_accept_delay = 5000ms;
    options.faults = {FaultPlan{Fault::kSlowAccept, "", 1}};
    StartSim(options);
    EXPECT_EQ(TryConnect(port_, 300ms), ConnectOutcome::kTimedOut);
}

TEST_F(SimulatorWireTest, SlowAcceptLetsThePatientClientIn) {
    SimOptions options;
    options.slow_accept_delay = 300ms;
    options.faults = {FaultPlan{Fault::kSlowAccept, "", 1}};
    StartSim(options);
    auto start = std::chrono::steady_clock::now();
    Exchanged got = Send(kStatusGet);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_EQ(StatusCode(got.bytes), 200);
    // Used up: the next connection is immediate.
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(TryConnect(port_, 300ms), ConnectOutcome::kConnected);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
}

TEST(FaultNames, EveryFaultHasAUniqueName) {
    std::set<std::string_view> names;
    for (Fault fault : AllFaults()) {
        std::string_view name = FaultName(fault);
        EXPECT_EQ(FaultFromName(name), fault);
        EXPECT_FALSE(FaultDescription(fault).empty());
        names.insert(name);
    }
    EXPECT_EQ(names.size(), AllFaults().size());
    EXPECT_EQ(FaultFromName("no-such-fault"), std::nullopt);
}

}  // namespace
}  // namespace quirn::sim::testing
