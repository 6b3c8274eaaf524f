// page_bench: what reading a page costs, against a general HTML parser and against memcpy.
//
//   page_bench [Google Benchmark options]   the benchmarks, then a summary of medians and ratios
//   page_bench --check                      the comparisons are fair: every reader gives the
//                                           same items from the same bytes (a test runs this)
//   page_bench --instructions WORK COUNT    WORK COUNT times and nothing else, for callgrind
//   page_bench --earlier-scanner            the page shapes' lines through the earlier
//                                           (quadratic) scanner and through today's
#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_pages.h"
#include "bench/libxml2_baseline.h"
#include "common/library_testing.h"
#include "common/page/markup_scanner.h"
#include "common/page/page_reader.h"
#include "common/page/status_page.h"
#include "common/text/text_encoding.h"
#include "fuzz/reference_markup_scanner.h"
#include "sim/euc_jp.h"

namespace quirn::bench {
namespace {

using lumora::RouterStatus;

// The library's whole page read: line split, EUC-JP to UTF-8, scanner, handlers, validation.
lumora::RouterResult Interpret(const std::string& page, RouterStatus& status) {
    lumora::MemoryLineSource source(page.data(), static_cast<long long>(page.size()));
    return lumora::InterpretPage(source, status);
}

// Handlers that take every event and do nothing, to price the scanner alone.
class IgnoringHandlers : public lumora::MarkupHandlers {
  public:
    void StartElement(const char*, const char* const*) override {}
    void EndElement(const char*) override {}
    void Text(const char*, int) override {}
};

// The reader's stages on their own: 1 splits lines, 2 converts them too, 3 scans them too.
int ReadStages(const std::string& page, int stages) {
    static IgnoringHandlers handlers;
    lumora::MarkupScanner& scanner = lumora::library_testing::PageScanner();
    scanner.Reset(handlers);
    lumora::MemoryLineSource source(page.data(), static_cast<long long>(page.size()));
    char line[lumora::kLineBufferSize];
    char utf8[lumora::kUtf8LineBufferSize];
    int lines = 0;
    for (int count = source.ReadLine(line); count > 0; count = source.ReadLine(line)) {
        ++lines;
        if (stages >= 2) {
            const int length = lumora::EucToUtf8(line, utf8);
            if (stages >= 3 && length > 0) {
                scanner.ScanChunk(utf8, length);
            }
        }
    }
    return lines;
}

// Seconds the line loop of ReadStages(page, 3) takes with `Scanner`, best of three.
template <typename Scanner>
double BestScanSeconds(const std::string& page) {
    static IgnoringHandlers handlers;
    static Scanner scanner;
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        scanner.Reset(handlers);
        lumora::MemoryLineSource source(page.data(), static_cast<long long>(page.size()));
        char line[lumora::kLineBufferSize];
        char utf8[lumora::kUtf8LineBufferSize];
        for (int count = source.ReadLine(line); count > 0; count = source.ReadLine(line)) {
            const int length = lumora::EucToUtf8(line, utf8);
            if (length > 0) {
                scanner.ScanChunk(utf8, length);
            }
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

// --earlier-scanner: what the page shapes cost with the scanner kept as the fuzz oracle.
int CompareWithEarlierScanner() {
    std::printf("%-14s %12s %12s %10s   (line split, EucToUtf8 and scanner; best of 3)\n",
                "shape", "earlier", "today", "speed-up");
    for (const char* shape : kPageShapes) {
        const std::string& page = ShapePage(shape);
        const double earlier = BestScanSeconds<fuzz::reference::ReferenceMarkupScanner>(page);
        const double today = BestScanSeconds<lumora::MarkupScanner>(page);
        std::printf("%-14s %9.2f ms %9.2f ms %9.1fx\n", shape, earlier * 1e3, today * 1e3,
                    earlier / today);
    }
    return 0;
}

int ConvertJapanese() {
    char utf8[lumora::kUtf8LineBufferSize];
    int total = 0;
    for (const std::string& line : JapaneseLines()) {
        total += lumora::EucToUtf8(line.c_str(), utf8);
    }
    return total;
}

// "status", "large", or one of kPageShapes.
const std::string& PageNamed(std::string_view name) {
    if (name == "status") {
        return StatusPage();
    }
    return name == "large" ? LargePage() : ShapePage(std::string(name));
}

void SetPageCounters(benchmark::State& state, const std::string& page) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
    state.counters["page_bytes"] = static_cast<double>(page.size());
}

void BM_Interpret(benchmark::State& state, const char* name) {
    const std::string& page = PageNamed(name);
    RouterStatus status{};
    for (auto _ : state) {
        lumora::RouterResult result = Interpret(page, status);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(status);
    }
    SetPageCounters(state, page);
}

void BM_Stages(benchmark::State& state, const char* name) {
    const std::string& page = PageNamed(name);
    const int stages = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadStages(page, stages));
    }
    SetPageCounters(state, page);
}

void BM_Libxml2(benchmark::State& state, const char* name) {
    const std::string& page = PageNamed(name);
    BaselineResult result;
    for (auto _ : state) {
        bool parsed = ReadPageWithLibxml2(page.data(), static_cast<int>(page.size()), result);
        benchmark::DoNotOptimize(parsed);
        benchmark::DoNotOptimize(result);
    }
    SetPageCounters(state, page);
}

void BM_Memcpy(benchmark::State& state, const char* name) {
    const std::string& page = PageNamed(name);
    std::vector<char> copy(page.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), page.data(), page.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    SetPageCounters(state, page);
}

void BM_EucToUtf8Japanese(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ConvertJapanese());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(JapaneseBytes()));
}

BENCHMARK_CAPTURE(BM_Interpret, status_page, "status");
BENCHMARK_CAPTURE(BM_Interpret, page_100k, "large");
BENCHMARK_CAPTURE(BM_Libxml2, status_page, "status");
BENCHMARK_CAPTURE(BM_Libxml2, page_100k, "large");
BENCHMARK_CAPTURE(BM_Memcpy, status_page, "status");
BENCHMARK_CAPTURE(BM_Memcpy, page_100k, "large");
BENCHMARK_CAPTURE(BM_Stages, status_page, "status")->ArgName("stages")->DenseRange(1, 3);
BENCHMARK_CAPTURE(BM_Stages, page_100k, "large")->ArgName("stages")->DenseRange(1, 3);
BENCHMARK(BM_EucToUtf8Japanese);
// The page shapes, 1 MiB each: what a long run without markup costs against what rows cost.
BENCHMARK_CAPTURE(BM_Interpret, shape_rows, "rows");
BENCHMARK_CAPTURE(BM_Libxml2, shape_rows, "rows");
BENCHMARK_CAPTURE(BM_Interpret, shape_blank_runs, "blank_runs");
BENCHMARK_CAPTURE(BM_Libxml2, shape_blank_runs, "blank_runs");
BENCHMARK_CAPTURE(BM_Interpret, shape_japanese_text, "japanese_text");
BENCHMARK_CAPTURE(BM_Libxml2, shape_japanese_text, "japanese_text");
BENCHMARK_CAPTURE(BM_Interpret, shape_short_tags, "short_tags");
BENCHMARK_CAPTURE(BM_Libxml2, shape_short_tags, "short_tags");
BENCHMARK_CAPTURE(BM_Stages, shape_blank_runs, "blank_runs")->ArgName("stages")->DenseRange(1, 3);
BENCHMARK_CAPTURE(BM_Stages, shape_japanese_text, "japanese_text")
    ->ArgName("stages")
    ->DenseRange(1, 3);

// Prints the usual table, then the medians side by side with the ratios the goals are set in.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                Median& median = medians_[run.run_name.str()];
                median.cpu_ns = run.GetAdjustedCPUTime();
                median.bytes_per_second = run.counters.count("bytes_per_second") != 0
                                              ? double(run.counters.at("bytes_per_second"))
                                              : 0.0;
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        if (medians_.empty()) {
            return;  // run with a single repetition: no medians to compare
        }
        std::printf("\nSummary (medians of the repetitions, CPU time per page)\n");
        bool page_header = false;
        for (const char* page : {"status_page", "page_100k"}) {
            const Median reader = Find("BM_Interpret/", page);
            const Median baseline = Find("BM_Libxml2/", page);
            const Median copy = Find("BM_Memcpy/", page);
            if (reader.cpu_ns <= 0 || baseline.cpu_ns <= 0 || copy.cpu_ns <= 0) {
                continue;  // filtered out of this run
            }
            if (!page_header) {
                std::printf("%-12s %12s %10s %12s %10s %12s %10s\n", "page", "reader", "MB/s",
                            "libxml2", "ratio", "memcpy", "ratio");
                page_header = true;
            }
            std::printf("%-12s %9.2f us %10.1f %9.2f us %9.1fx %9.3f us %9.1fx\n", page,
                        reader.cpu_ns / 1e3, reader.bytes_per_second / 1e6, baseline.cpu_ns / 1e3,
                        baseline.cpu_ns / reader.cpu_ns, copy.cpu_ns / 1e3,
                        reader.cpu_ns / copy.cpu_ns);
        }
        bool shape_header = false;
        for (const char* shape : kPageShapes) {
            const std::string name = std::string("shape_") + shape;
            const Median reader = Find("BM_Interpret/", name.c_str());
            const Median baseline = Find("BM_Libxml2/", name.c_str());
            if (reader.cpu_ns <= 0 || baseline.cpu_ns <= 0) {
                continue;
            }
            if (!shape_header) {
                std::printf("\n%-14s %10s %12s %12s %10s\n", "shape", "bytes", "reader",
                            "libxml2", "ratio");
                shape_header = true;
            }
            std::printf("%-14s %10zu %9.2f ms %9.2f ms %9.1fx\n", shape, ShapePage(shape).size(),
                        reader.cpu_ns / 1e6, baseline.cpu_ns / 1e6,
                        baseline.cpu_ns / reader.cpu_ns);
        }
        const auto euc = medians_.find("BM_EucToUtf8Japanese");
        if (euc != medians_.end()) {
            std::printf("EucToUtf8 on Japanese-heavy text: %.1f MB/s\n",
                        euc->second.bytes_per_second / 1e6);
        }
        std::printf("ratio: libxml2 time / reader time, and reader time / memcpy time\n");
    }

  private:
    struct Median {
        double cpu_ns = 0;
        double bytes_per_second = 0;
    };

    Median Find(const std::string& benchmark, const char* page) const {
        const auto found = medians_.find(benchmark + page);
        return found == medians_.end() ? Median{} : found->second;
    }

    std::map<std::string, Median> medians_;
};

// --check: the same bytes give the same items whichever way they are read.
int Check() {
    int passes = 0;
    int failures = 0;
    auto expect = [&passes, &failures](bool ok, const std::string& what) {
        if (!ok) {
            std::printf("FAILED: %s\n", what.c_str());
        }
        ++(ok ? passes : failures);
    };
    RouterStatus status_page{};
    expect(Interpret(StatusPage(), status_page) == lumora::kSuccess, "the status page reads");
    const std::string token = lumora::library_testing::SessionToken();
    expect(!token.empty(), "the status page has a token");
    expect(std::strcmp(status_page.firmware_version, "2.0.7") == 0 &&
               status_page.battery_percent == 80 && status_page.connection_code == 3,
           "the status page gives its items");
    RouterStatus large_page{};
    expect(LargePage().size() > kLargePageSize * 9 / 10 && LargePage().size() <= kLargePageSize,
           "the large page is about 100 KB (" + std::to_string(LargePage().size()) + ")");
    expect(Interpret(LargePage(), large_page) == lumora::kSuccess, "the large page reads");
    expect(std::memcmp(&status_page, &large_page, sizeof status_page) == 0,
           "the large page gives the status page's record");

    for (const char* name : {"status", "large"}) {
        const std::string& page = PageNamed(name);
        BaselineResult baseline;
        const std::string which = std::string(" (libxml2, ") + name + " page)";
        expect(ReadPageWithLibxml2(page.data(), static_cast<int>(page.size()), baseline),
               "libxml2 makes a document" + which);
        const RouterStatus& a = status_page;
        const RouterStatus& b = baseline.status;
        // The connection text is left out: libxml2 decodes its character references, which the
        // library leaves to the window, so the two texts differ by design.
        expect(std::strcmp(a.firmware_version, b.firmware_version) == 0 &&
                   a.firmware_notice == b.firmware_notice && a.battery_level == b.battery_level &&
                   a.battery_percent == b.battery_percent &&
                   a.connection_code == b.connection_code && a.radio_level == b.radio_level &&
                   std::strcmp(a.wan_address, b.wan_address) == 0 &&
                   std::strcmp(a.bt_name, b.bt_name) == 0 &&
                   std::strcmp(a.bt_address, b.bt_address) == 0 &&
                   std::strcmp(a.domain_name, b.domain_name) == 0 &&
                   std::strcmp(a.wifi_wan_link, b.wifi_wan_link) == 0 &&
                   std::strcmp(a.volume_limit, b.volume_limit) == 0 &&
                   std::strcmp(a.volume_month, b.volume_month) == 0 &&
                   std::strcmp(a.limit_reach_text, b.limit_reach_text) == 0,
               "the same items" + which);
        expect(baseline.token == token, "the same token" + which);
        expect(!baseline.initial_password_page, "not the initial-password page" + which);
    }

    for (const char* shape : kPageShapes) {
        const std::string& page = ShapePage(shape);
        const std::string which = std::string(" (") + shape + " page)";
        RouterStatus shaped{};
        expect(page.size() > kShapePageSize * 9 / 10 && page.size() <= kShapePageSize,
               "the page is about 1 MiB" + which);
        expect(Interpret(page, shaped) == lumora::kSuccess, "the page reads" + which);
        expect(std::memcmp(&status_page, &shaped, sizeof status_page) == 0,
               "the page gives the status page's record" + which);
        BaselineResult baseline;
        expect(ReadPageWithLibxml2(page.data(), static_cast<int>(page.size()), baseline) &&
                   baseline.token == token &&
                   std::strcmp(baseline.status.firmware_version, "2.0.7") == 0 &&
                   baseline.status.battery_percent == 80,
               "libxml2 reads the same token and items" + which);
    }

    char utf8[lumora::kUtf8LineBufferSize];
    bool agree = true;
    for (const std::string& line : JapaneseLines()) {
        const int length = lumora::EucToUtf8(line.c_str(), utf8);
        const std::optional<std::string> expected = sim::EucJpToUtf8(line);
        agree = agree && length > 0 && expected && std::string_view(utf8, length) == *expected;
    }
    expect(agree, "EucToUtf8 agrees with the simulator's converter on the Japanese text");
    std::printf("checks: %d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}

// --instructions WORK COUNT: only the work, so that callgrind's count is the work's.
int RunWork(std::string_view work, long count) {
    RouterStatus status{};
    BaselineResult baseline;
    std::vector<char> copy;
    const std::size_t dash = work.find('-');
    const std::string* page = dash == std::string_view::npos || work == "euc-japanese"
                                  ? &StatusPage()
                                  : &PageNamed(work.substr(dash + 1));
    for (long i = 0; i < count; ++i) {
        if (work.starts_with("interpret-")) {
            benchmark::DoNotOptimize(Interpret(*page, status));
        } else if (work.starts_with("libxml2-")) {
            benchmark::DoNotOptimize(
                ReadPageWithLibxml2(page->data(), static_cast<int>(page->size()), baseline));
        } else if (work.starts_with("memcpy-")) {
            copy.resize(page->size());
            std::memcpy(copy.data(), page->data(), page->size());
            benchmark::DoNotOptimize(copy.data());
            benchmark::ClobberMemory();
        } else if (work == "euc-japanese") {
            benchmark::DoNotOptimize(ConvertJapanese());
        } else {
            std::fprintf(stderr,
                         "unknown work %.*s: interpret-, libxml2- or memcpy- with status, "
                         "large or a page shape, or euc-japanese\n",
                         static_cast<int>(work.size()), work.data());
            return 64;
        }
    }
    std::printf("%s x %ld: %zu bytes each\n", std::string(work).c_str(), count,
                work == "euc-japanese" ? JapaneseBytes() : page->size());
    return 0;
}

}  // namespace
}  // namespace quirn::bench

int main(int argc, char** argv) {
    // The page reader's diagnostics stay out of the figures' way.
    lumora::SetDiagnosticStream(std::fopen("/dev/null", "w"));
    xmlInitParser();
    if (argc == 2 && std::strcmp(argv[1], "--check") == 0) {
        return quirn::bench::Check();
    }
    if (argc == 2 && std::strcmp(argv[1], "--earlier-scanner") == 0) {
        return quirn::bench::CompareWithEarlierScanner();
    }
    if (argc == 4 && std::strcmp(argv[1], "--instructions") == 0) {
        return quirn::bench::RunWork(argv[2], std::strtol(argv[3], nullptr, 10));
    }
    // Medians of repetitions unless told otherwise: the machine may be busy with other work.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=15";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    std::string min_time = "--benchmark_min_time=0.1";
    bool given = false;
    for (int i = 1; i < argc; ++i) {
        given = given || std::string_view(argv[i]).starts_with("--benchmark_repetitions");
    }
    if (!given) {
        args.insert(args.begin() + 1, {repetitions.data(), aggregates.data(), min_time.data()});
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 64;
    }
    quirn::bench::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    xmlCleanupParser();
    return 0;
}
