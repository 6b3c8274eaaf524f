// poll_bench: whole status polls against quirn-sim in this process, on loopback.
//
//   poll_bench [Google Benchmark options]   each poll timed on its own: median and 99th
//                                           percentile, heap allocations per poll
//   poll_bench --polls N                    N polls and nothing else, to count system calls
//                                           (strace -c without -f follows only this thread)
//   poll_bench --soak N                     N polls; memory, descriptors and heap blocks kept
//                                           before and after
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/alloc_counter.h"
#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/library_testing.h"
#include "common/net/network_config.h"
#include "common/net/router_commands.h"
#include "sim/router_simulator.h"

namespace quirn::bench {
namespace {

// The router, started on first use and kept for the whole run.
sim::RouterSimulator& Router() {
    static std::unique_ptr<sim::RouterSimulator> router = [] {
        sim::SimOptions options;
        options.seed = 20240601;
        auto started = std::make_unique<sim::RouterSimulator>(options);
        if (!started->Start()) {
            std::fprintf(stderr, "quirn-sim: %s\n", started->error().c_str());
            std::exit(2);
        }
        // Production time-outs; only the address and port point at the simulator.
        lumora::testing_hook::Redirection redirection;
        redirection.router_host = "127.0.0.1";
        redirection.maker_host = "127.0.0.1";
        redirection.port = started->port();
        lumora::testing_hook::Redirect(redirection);
        return started;
    }();
    return *router;
}

lumora::RouterResult Poll() {
    lumora::RouterStatus status = lumora::FreshRouterStatus();
    return lumora::GetRouterInfo(lumora::kStatusPage, nullptr, lumora::kStatusPageUser,
                                 lumora::kStatusPagePassword, status);
}

double Percentile99(const std::vector<double>& values) {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t rank = static_cast<std::size_t>(std::ceil(0.99 * sorted.size()));
    return sorted.empty() ? 0.0 : sorted[std::max<std::size_t>(rank, 1) - 1];
}

void BM_StatusPoll(benchmark::State& state) {
    sim::RouterSimulator& router = Router();
    AllocationCount total;
    int failed = 0;
    for (auto _ : state) {
        StartCountingAllocations();
        failed += Poll() != lumora::kSuccess;
        const AllocationCount poll = StopCountingAllocations();
        total.allocations += poll.allocations;
        total.bytes += poll.bytes;
        state.PauseTiming();
        router.ClearRequests();  // the simulator's log would otherwise grow all run
        state.ResumeTiming();
    }
    if (failed != 0) {
        state.SkipWithError("a poll failed");
    }
    const double polls = static_cast<double>(state.iterations());
    state.counters["allocs_per_poll"] = static_cast<double>(total.allocations) / polls;
    state.counters["alloc_bytes_per_poll"] = static_cast<double>(total.bytes) / polls;
}

// One poll per repetition, so the repetitions' statistics are those of single polls.
BENCHMARK(BM_StatusPoll)
    ->Iterations(1)
    ->Repetitions(400)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p99", Percentile99)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

int RunPolls(long count) {
    Router();
    long failed = 0;
    for (long i = 0; i < count; ++i) {
        failed += Poll() != lumora::kSuccess;
    }
    std::printf("%ld polls, %ld failed\n", count, failed);
    return failed == 0 ? 0 : 1;
}

struct Resources {
    long rss_kib = 0;
    int descriptors = 0;
};

Resources Measure() {
    Resources resources;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) {
            resources.rss_kib = std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (readdir(fds) != nullptr) {
            ++resources.descriptors;
        }
        closedir(fds);
    }
    return resources;
}

// Measures once the simulator has closed its side of the last connection, which it does on
// its own thread: waits up to a second for the descriptors to come down to `expected`.
Resources Settled(int expected) {
    Resources now = Measure();
    for (int wait = 0; wait < 100 && (expected == 0 || now.descriptors > expected); ++wait) {
        struct timespec pause = {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
        const Resources later = Measure();
        if (expected == 0 && later.descriptors == now.descriptors) {
            return later;  // steady
        }
        now = later;
    }
    return now;
}

int Soak(long count) {
    sim::RouterSimulator& router = Router();
    for (int i = 0; i < 20; ++i) {
        Poll();  // first-use buffers (the diagnostic stream's among them) are no growth
    }
    router.ClearRequests();
    const Resources before = Settled(0);
    long failed = 0;
    AllocationCount kept;
    std::printf("resident memory and open descriptors: %ld KiB, %d before the polls\n",
                before.rss_kib, before.descriptors);
    for (long i = 1; i <= count; ++i) {
        StartCountingAllocations();
        failed += Poll() != lumora::kSuccess;
        const AllocationCount poll = StopCountingAllocations();
        kept.allocations += poll.allocations;
        kept.frees += poll.frees;
        router.ClearRequests();
        if (i % 1000 == 0 || i == count) {
            const Resources now = Settled(before.descriptors);
            std::printf("resident memory and open descriptors: %ld KiB, %d after %ld polls\n",
                        now.rss_kib, now.descriptors, i);
        }
    }
    const Resources after = Settled(before.descriptors);
    std::printf("%ld polls, %ld failed\n", count, failed);
    std::printf("heap blocks taken by the polls and not given back: %lld (of %lld taken)\n",
                kept.allocations - kept.frees, kept.allocations);
    const bool grew = after.descriptors != before.descriptors || kept.allocations != kept.frees;
    return failed == 0 && !grew ? 0 : 1;
}

}  // namespace
}  // namespace quirn::bench

int main(int argc, char** argv) {
    // The poll's diagnostic lines are written, as always, but to nowhere.
    lumora::SetDiagnosticStream(std::fopen("/dev/null", "w"));
    if (argc == 3 && std::strcmp(argv[1], "--polls") == 0) {
        return quirn::bench::RunPolls(std::strtol(argv[2], nullptr, 10));
    }
    if (argc == 3 && std::strcmp(argv[1], "--soak") == 0) {
        return quirn::bench::Soak(std::strtol(argv[2], nullptr, 10));
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 64;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
