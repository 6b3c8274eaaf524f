// A broken, hostile or overloaded router, played by quirn-sim: every scenario must end with its
// expected result within a bounded time, and long runs of exchanges must give back every file
// descriptor and every heap byte they took.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/library_testing.h"
#include "common/net/network_config.h"
#include "common/net/router_commands.h"
#include "tests/hostile/resource_count.h"
#include "tests/hostile/sim_process.h"
#include "tests/support/library_on_simulator.h"

namespace lumora {
namespace {

using quirn::sim::Fault;
using quirn::sim::FaultPlan;
using quirn::sim::SimOptions;
using testing_support::CountResources;
using testing_support::ResourceCount;
using testing_support::LibraryOnSimulatorTest;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr char kAdminPassword[] = "quirn-admin";  // the simulator's default
constexpr int kTimeOut = testing_support::kTestSocketTimeoutMs;

class HostileRouterTest : public LibraryOnSimulatorTest {
  public:
    void SetUp() override {
        LibraryOnSimulatorTest::SetUp();
        log_ = std::make_unique<testing_support::DiagnosticLog>();
    }
    void TearDown() override {
        log_.reset();
        LibraryOnSimulatorTest::TearDown();
    }

    RouterResult Poll() {
        RouterStatus status = FreshRouterStatus();
        const RouterResult result =
            GetRouterInfo(kStatusPage, nullptr, kStatusPageUser, kStatusPagePassword, status);
        if (result == kSuccess) {
            last_battery_ = status.battery_percent;
        }
        return result;
    }
    RouterResult Switch(int command = kSwitchToWlan) {
        return RunRouterCommand(kAdminPassword, kStatusPageUser, command);
    }

    // Starts a fresh simulator with `change` applied and the library's time-out set.
    void StartWith(const std::function<void(SimOptions&)>& change, int socket_timeout_ms) {
        SimOptions options = DefaultOptions();
        change(options);
        StartSim(options);
        testing_hook::Redirection redirection;
        redirection.router_host = "127.0.0.1";
        redirection.maker_host = "127.0.0.1";
        redirection.port = sim().port();
        redirection.connect_timeout_ms = testing_support::kTestConnectTimeoutMs;
        redirection.socket_timeout_ms = socket_timeout_ms;
        testing_hook::Redirect(redirection);
    }

    int last_battery_ = -99;
    std::unique_ptr<testing_support::DiagnosticLog> log_;
};

template <typename Function>
RouterResult Timed(Function run, long long& elapsed_ms) {
    const Clock::time_point start = Clock::now();
    const RouterResult result = run();
    elapsed_ms = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
    return result;
}

struct Scenario {
    const char* name;
    std::function<void(SimOptions&)> change;
    int socket_timeout_ms;
    // A status poll: its result, and the window its time must fall in.
    RouterResult poll;
    int poll_min_ms;
    int poll_max_ms;
    // A switch command (administrator log-in, then the post): its result and longest time.
    RouterResult command;
    int command_max_ms;
};

std::function<void(SimOptions&)> WithFault(Fault fault) {
    return [fault](SimOptions& o) { o.faults = {FaultPlan{fault, "", -1}}; };
}

TEST_F(HostileRouterTest, EveryScenarioEndsWithItsResultInBoundedTime) {
    // The 10 MB page is read byte by byte, so it gets the shipped time-out, not the test's.
    const int shipped = kSocketTimeoutMs;
    const Scenario scenarios[] = {
        {"line over 4094 bytes, its line end after them", WithFault(Fault::kLongLine), kTimeOut,
         kSuccess, 0, 1000, kSuccess, 1000},
        {"line over 4094 bytes that never ends, then close", WithFault(Fault::kLongLineUnended),
         kTimeOut, kSuccess, 0, 1000, kSuccess, 1000},
        {"binary garbage", WithFault(Fault::kBinaryGarbage), kTimeOut, kUnexpectedResponse, 0, 1000,
         kUnexpectedResponse, 1000},
        {"a 10 MB page", WithFault(Fault::kHugePage), shipped, kSuccess, 0, 40000, kSuccess, 80000},
        // One byte a second: only the receive time-out ends it.
        {"one byte a second", WithFault(Fault::kDrip), kTimeOut, kReceiveFailed, kTimeOut - 50,
         kTimeOut + 1000, kReceiveFailed, kTimeOut + 1000},
        {"reset in the middle of the page", WithFault(Fault::kResetMidPage), kTimeOut,
         kReceiveFailed, 0, 1000, kReceiveFailed, 1000},
        {"accepts, then says nothing", WithFault(Fault::kAcceptThenSilence), kTimeOut,
         kReceiveFailed, kTimeOut - 50, kTimeOut + 1000, kReceiveFailed, kTimeOut + 1000},
        {"401 with a body", WithFault(Fault::kUnauthorizedWithBody), kTimeOut, kAuthRefused, 0,
         1000, kAuthRefused, 1000},
        {"status line split across two packets", WithFault(Fault::kSplitStatusLine), kTimeOut,
         kSuccess, 0, 1000, kSuccess, 1000},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        long long poll_ms = 0;
        long long command_ms = 0;
        StartWith(s.change, s.socket_timeout_ms);
        EXPECT_EQ(Timed([&] { return Poll(); }, poll_ms), s.poll);
        EXPECT_GE(poll_ms, s.poll_min_ms);
        EXPECT_LE(poll_ms, s.poll_max_ms);
        if (s.poll == kSuccess) {
            EXPECT_EQ(last_battery_, 80);  // the page's values, whatever came with them
        }
        StartWith(s.change, s.socket_timeout_ms);
        EXPECT_EQ(Timed([&] { return Switch(); }, command_ms), s.command);
        EXPECT_LE(command_ms, s.command_max_ms);
        EXPECT_EQ(library_testing::BusyCount(), 0);
        std::printf("[ scenario ] %-50s poll %d in %lld ms, switch %d in %lld ms\n", s.name,
                    static_cast<int>(s.poll), poll_ms, static_cast<int>(s.command), command_ms);
    }
}

// Points the library at the simulator program on `port`.
void RedirectTo(std::uint16_t port) {
    testing_hook::Redirection redirection;
    redirection.router_host = "127.0.0.1";
    redirection.maker_host = "127.0.0.1";
    redirection.port = port;
    redirection.connect_timeout_ms = testing_support::kTestConnectTimeoutMs;
    redirection.socket_timeout_ms = kTimeOut;
    testing_hook::Redirect(redirection);
}

// Runs `count` exchanges after a warm-up and compares what this process holds before and
// after: the simulators run as programs of their own, so only the library's share is counted.
void ExpectNothingKept(const char* what, int count, const std::function<void(int)>& exchange) {
    for (int i = 0; i < 20; ++i) {
        exchange(i);
    }
    const ResourceCount before = CountResources();
    for (int i = 0; i < count; ++i) {
        exchange(i);
    }
    const ResourceCount after = CountResources();
    std::printf("[ resources ] %d %s: before %s; after %s\n", count, what, before.Text().c_str(),
                after.Text().c_str());
    EXPECT_EQ(after.descriptors, before.descriptors);
    EXPECT_EQ(after.heap_bytes, before.heap_bytes);
}

TEST_F(HostileRouterTest, ThousandPollsKeepNoDescriptorOrMemory) {
    StopSim();
    // Every fifth poll meets a router with a fault, so the failure paths are counted too.
    struct Router {
        std::vector<std::string> args;
        RouterResult result;
    };
    const Router routers[] = {{{}, kSuccess},
                              {{"--scenario", "garbage"}, kUnexpectedResponse},
                              {{"--scenario", "reset-mid-page"}, kReceiveFailed},
                              {{"--scenario", "unauthorized-body"}, kAuthRefused},
                              {{"--scenario", "no-token"}, kPageNotUnderstood}};
    std::vector<std::unique_ptr<testing_support::SimProcess>> programs;
    for (const Router& router : routers) {
        programs.push_back(std::make_unique<testing_support::SimProcess>(router.args));
        ASSERT_NE(programs.back()->port(), 0);
    }
    int wrong = 0;
    ExpectNothingKept("polls", 1000, [&](int i) {
        const std::size_t r = i % 5 == 4 ? 1 + (i / 5) % 4 : 0;
        RedirectTo(programs[r]->port());
        wrong += Poll() != routers[r].result;
    });
    EXPECT_EQ(wrong, 0);
}

TEST_F(HostileRouterTest, TwoHundredCommandsKeepNoDescriptorOrMemory) {
    StopSim();
    testing_support::SimProcess program({});
    ASSERT_NE(program.port(), 0);
    RedirectTo(program.port());
    int wrong = 0;
    ExpectNothingKept("commands", 200, [&](int i) {
        wrong += Switch(i % 2 == 0 ? kSwitchToWlan : kSwitchToLte3g) != kSuccess;
    });
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace lumora
