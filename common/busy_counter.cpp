// busy_counter.cpp: the busy counter's wait, take and release.
#include "common/busy_counter.h"

#include <chrono>
#include <thread>

#include "common/library_state.h"

namespace lumora {
namespace {

constexpr std::chrono::milliseconds kPollInterval{10};

}  // namespace

void WaitUntilIdle() {
    while (g_library.busy_counter.load() != 0) {
        std::this_thread::sleep_for(kPollInterval);
    }
}

void AcquireBusy() {
    int expected = 0;
    while (!g_library.busy_counter.compare_exchange_weak(expected, 1)) {
        if (expected != 0) {
            std::this_thread::sleep_for(kPollInterval);
        }
        expected = 0;
    }
}

void ReleaseBusy() {
    g_library.busy_counter.fetch_sub(1);
}

}  // namespace lumora
