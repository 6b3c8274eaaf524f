// Tests of the busy counter: exchanges on several threads never overlap.
#include "common/busy_counter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "common/library_testing.h"

namespace lumora {
namespace {

TEST(BusyCounter, ExchangesOnManyThreadsRunOneAtATime) {
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    int unguarded_total = 0;  // written only under the counter: a race would lose increments
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                BusyGuard busy;
                if (inside.fetch_add(1) != 0 || library_testing::BusyCount() != 1) {
                    overlaps.fetch_add(1);
                }
                ++unguarded_total;
                inside.fetch_sub(1);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(unguarded_total, 8 * 50);
    EXPECT_EQ(library_testing::BusyCount(), 0);
}

TEST(BusyCounter, WaitersGoAheadOnlyAfterRelease) {
    AcquireBusy();
    std::atomic<bool> waited{false};
    std::atomic<bool> acquired{false};
    std::thread idle([&] {
        WaitUntilIdle();
        waited = true;
    });
    std::thread taker([&] {
        BusyGuard busy;
        acquired = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(waited.load());
    EXPECT_FALSE(acquired.load());
    ReleaseBusy();
    idle.join();
    taker.join();
    EXPECT_TRUE(waited.load());
    EXPECT_TRUE(acquired.load());
    EXPECT_EQ(library_testing::BusyCount(), 0);
}

}  // namespace
}  // namespace lumora
