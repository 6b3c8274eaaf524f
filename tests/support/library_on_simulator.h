// library_on_simulator.h: a quirn-sim on an ephemeral loopback port with the library redirected
// to it, and the library's single-instance state reset, for each test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/library_testing.h"
#include "common/net/network_config.h"
#include "sim/router_simulator.h"

namespace lumora::testing_support {

// Short time-outs keep the time-out cases to about a second.
inline constexpr int kTestConnectTimeoutMs = 1000;
inline constexpr int kTestSocketTimeoutMs = 1000;

// A name the resolver rejects without asking any server (a label longer than 63 bytes).
inline std::string UnresolvableHost() {
    return std::string(64, 'a') + ".invalid";
}

// Sends the library's diagnostic lines to a file of their own while it lives, so a test can read
// them without capturing the test runner's output.
class DiagnosticLog {
  public:
    DiagnosticLog() : file_(std::tmpfile()) { lumora::SetDiagnosticStream(file_); }
    ~DiagnosticLog() {
        if (library_testing::CurrentDiagnosticStream() == file_) {
            lumora::SetDiagnosticStream(nullptr);
        }
        std::fclose(file_);
    }
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    // Everything written so far.
    std::string Text() const {
        std::fflush(file_);
        std::string text;
        std::rewind(file_);
        for (int c = std::getc(file_); c != EOF; c = std::getc(file_)) {
            text.push_back(static_cast<char>(c));
        }
        std::fseek(file_, 0, SEEK_END);
        return text;
    }

  private:
    std::FILE* file_;
};

class LibraryOnSimulatorTest : public testing::Test {
  public:
    void SetUp() override { StartSim(DefaultOptions()); }

    void TearDown() override {
        testing_hook::Reset();
        sim_->Stop();
        library_testing::ResetLibraryState();
    }

    static quirn::sim::SimOptions DefaultOptions() {
        quirn::sim::SimOptions options;
        options.seed = 20240601;
        options.reboot_down_time = std::chrono::milliseconds(300);
        options.hold_open_limit = std::chrono::milliseconds(5000);
        return options;
    }

    // Replaces the simulator by one with `options` and points both fixed host names at it.
    void StartSim(const quirn::sim::SimOptions& options) {
        if (sim_) {
            sim_->Stop();
        }
        sim_ = std::make_unique<quirn::sim::RouterSimulator>(options);
        ASSERT_TRUE(sim_->Start()) << sim_->error();
        testing_hook::Redirection redirection;
        redirection.router_host = "127.0.0.1";
        redirection.maker_host = "127.0.0.1";
        redirection.port = sim_->port();
        redirection.connect_timeout_ms = kTestConnectTimeoutMs;
        redirection.socket_timeout_ms = kTestSocketTimeoutMs;
        testing_hook::Redirect(redirection);
        library_testing::ResetLibraryState();
    }

    // Stops the simulator so that its port refuses connections.
    void StopSim() { sim_->Stop(); }

    quirn::sim::RouterSimulator& sim() { return *sim_; }
    std::vector<std::string> Requests() const { return sim_->Requests(); }

  private:
    std::unique_ptr<quirn::sim::RouterSimulator> sim_;
};

}  // namespace lumora::testing_support
