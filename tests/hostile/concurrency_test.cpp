// Polls, commands and connection checks from several threads at once, as the window's worker
// runs and a settings dialog may start them: the busy counter must keep their exchanges apart,
// so every one succeeds and the library's single-instance state is never used by two at a time
// (the ThreadSanitizer build runs this).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/library_testing.h"
#include "common/net/router_commands.h"
#include "tests/support/library_on_simulator.h"

namespace lumora {
namespace {

class ConcurrencyTest : public testing_support::LibraryOnSimulatorTest {};

TEST_F(ConcurrencyTest, PollsCommandsAndChecksAtOnceAllSucceed) {
    // No stream chosen yet: the threads' first diagnostic lines choose it, at once.
    SetDiagnosticStream(nullptr);
    constexpr int kCommands = 30;
    constexpr int kChecks = 10;
    std::atomic<int> failures{0};
    std::atomic<int> polls{0};
    std::atomic<bool> commands_done{false};
    std::vector<std::thread> threads;
    // Pollers keep the busy counter contended for as long as the commands run. The counter is
    // not fair, so each leaves it free a moment between polls, as the window's timer does.
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            while (!commands_done.load()) {
                RouterStatus status = FreshRouterStatus();
                const RouterResult result = GetRouterInfo(kStatusPage, nullptr, kStatusPageUser,
                                                          kStatusPagePassword, status);
                failures += result != kSuccess || status.battery_percent != 80;
                ++polls;
                std::this_thread::sleep_for(std::chrono::milliseconds(3));
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < kCommands; ++i) {
            const int command = i % 2 == 0 ? kSwitchToWlan : kSwitchToLte3g;
            failures += RunRouterCommand("quirn-admin", kStatusPageUser, command) != kSuccess;
        }
        commands_done = true;
    });
    threads.emplace_back([&] {
        for (int i = 0; i < kChecks; ++i) {
            failures += CheckConnection() != kSuccess;
            // Refused before it takes the counter, it logs its error beside the others' lines.
            failures += RunRouterCommand("quirn-admin", kStatusPageUser, 99) != kLocalFailure;
        }
    });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_GE(polls.load(), 3);
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(library_testing::BusyCount(), 0);
    EXPECT_EQ(library_testing::CurrentStatus(), nullptr);
    const auto requests = sim().ReceivedRequests();
    int posts = 0;
    for (const quirn::sim::ReceivedRequest& request : requests) {
        posts += request.method == "POST";
    }
    EXPECT_EQ(posts, kCommands);
}

}  // namespace
}  // namespace lumora
