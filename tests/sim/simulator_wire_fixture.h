// simulator_wire_fixture.h: one simulator on an ephemeral loopback port, spoken to in raw HTTP.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "sim/router_simulator.h"
#include "tests/sim/sim_client.h"

namespace quirn::sim::testing {

inline constexpr char kStatusPath[] = "/mobile/mobile.cgi/info_remote_main";
inline constexpr char kAdminPath[] = "/index.cgi/info_btn";
inline constexpr char kStatusUser[] = "tarn-access";
inline constexpr char kAdminPassword[] = "quirn-admin";

class SimulatorWireTest : public ::testing::Test {
  protected:
    void StartSim(SimOptions options = {}) {
        options.seed = 1234;
        sim_ = std::make_unique<RouterSimulator>(std::move(options));
        ASSERT_TRUE(sim_->Start()) << sim_->error();
        port_ = sim_->port();
    }

    Exchanged Send(const std::string& request, std::chrono::milliseconds timeout = 5000ms) {
        return Exchange(port_, request, timeout);
    }

    // The status page as the status-page account gets it, in UTF-8.
    std::string FetchStatusPage() {
        Exchanged got = Send(GetRequest(kStatusPath, kStatusUser, kStatusUser));
        EXPECT_EQ(StatusCode(got.bytes), 200);
        return EucToUtf8(Body(got.bytes)).value_or("");
    }

    // A page that hands out a token, as a command's log-in would fetch it.
    std::string FetchAdminToken() {
        Exchanged got = Send(GetRequest(kAdminPath, "admin", kAdminPassword));
        EXPECT_EQ(StatusCode(got.bytes), 200);
        return PageToken(EucToUtf8(Body(got.bytes)).value_or("")).value_or("");
    }

    std::unique_ptr<RouterSimulator> sim_;
    uint16_t port_ = 0;
};

}  // namespace quirn::sim::testing
