// main.cpp: the quirn-sim program — a router simulator on a chosen address, logging every
// request it receives, until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "sim/router_simulator.h"
#include "sim/scenarios.h"

namespace {

using quirn::sim::FaultPlan;
using quirn::sim::SimOptions;

constexpr int kUsageError = 64;

void PrintEntry(std::FILE* out, std::string_view name, std::string_view description) {
    std::fprintf(out, "  %-20s %.*s\n", std::string(name).c_str(),
                 static_cast<int>(description.size()), description.data());
}

void PrintHelp(std::FILE* out) {
    std::fprintf(
        out,
        "usage: quirn-sim [--listen ADDR:PORT] [--scenario NAME] [options]\n"
        "\n"
        "  --listen ADDR:PORT       IPv4 address and port (default 127.0.0.1:8080; port 0 "
        "picks one)\n"
        "  --scenario NAME          starting state, see below (default normal)\n"
        "  --fault NAME[,path=P][,times=N]\n"
        "                           add a fault (repeatable); path limits it to one path,\n"
        "                           times to that many requests\n"
        "  --admin-password PW      administrator password (default quirn-admin)\n"
        "  --reboot-down-ms N       unreachable time after a reboot (default 60000)\n"
        "  --slow-accept-ms N       connection delay of the slow-accept fault (default "
        "5000)\n"
        "  --drip-ms N              time between bytes of the drip fault (default 1000)\n"
        "  --hold-open-ms N         longest a connection is held open (default 120000)\n"
        "  --seed N                 seed of the session tokens (default random)\n"
        "  --log FILE               append received requests to FILE instead of stderr\n"
        "  --help                   this text\n"
        "\n"
        "Each request is logged as a line \"--- request N, L bytes ---\" followed by its\n"
        "L raw bytes and a line end.\n"
        "\n"
        "Scenarios:\n");
    // Scenarios() ends with one scenario per fault; those are listed once, as the faults.
    for (const quirn::sim::Scenario& scenario : quirn::sim::Scenarios()) {
        if (!quirn::sim::FaultFromName(scenario.name)) {
            PrintEntry(out, scenario.name, scenario.description);
        }
    }
    std::fprintf(out,
                 "\n"
                 "Faults (for --fault NAME; each is also a scenario that plays it on every\n"
                 "request):\n");
    for (const quirn::sim::Fault fault : quirn::sim::AllFaults()) {
        PrintEntry(out, quirn::sim::FaultName(fault), quirn::sim::FaultDescription(fault));
    }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseListen(std::string_view text, SimOptions& options) {
    size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    options.listen_address = std::string(text.substr(0, colon));
    return ParseNumber(text.substr(colon + 1), options.port);
}

bool ParseFault(std::string_view text, SimOptions& options) {
    FaultPlan plan;
    size_t comma = text.find(',');
    auto fault = quirn::sim::FaultFromName(text.substr(0, comma));
    if (!fault) {
        return false;
    }
    plan.fault = *fault;
    while (comma != std::string_view::npos) {
        text.remove_prefix(comma + 1);
        comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        if (item.rfind("path=", 0) == 0) {
            plan.path = std::string(item.substr(5));
        } else if (item.rfind("times=", 0) != 0 || !ParseNumber(item.substr(6), plan.times) ||
                   plan.times < 1) {
            return false;
        }
    }
    options.faults.push_back(plan);
    return true;
}

bool ParseMilliseconds(std::string_view text, std::chrono::milliseconds& value) {
    long long count = 0;
    if (!ParseNumber(text, count) || count < 0) {
        return false;
    }
    value = std::chrono::milliseconds(count);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    options.port = 8080;
    std::string scenario = "normal";
    std::vector<std::string_view> fault_texts;
    std::string log_path;
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        if (option == "--help" || option == "-h") {
            PrintHelp(stdout);
            return 0;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "quirn-sim: unknown option or missing value: %s\n", argv[i]);
            return kUsageError;
        }
        std::string_view value = argv[++i];
        bool ok = true;
        if (option == "--listen") {
            ok = ParseListen(value, options);
        } else if (option == "--scenario") {
            scenario = std::string(value);
        } else if (option == "--fault") {
            fault_texts.push_back(value);
        } else if (option == "--admin-password") {
            options.state.admin_password = std::string(value);
        } else if (option == "--reboot-down-ms") {
            ok = ParseMilliseconds(value, options.reboot_down_time);
        } else if (option == "--slow-accept-ms") {
            ok = ParseMilliseconds(value, options.slow_accept_delay);
        } else if (option == "--drip-ms") {
            ok = ParseMilliseconds(value, options.drip_interval);
        } else if (option == "--hold-open-ms") {
            ok = ParseMilliseconds(value, options.hold_open_limit);
        } else if (option == "--seed") {
            ok = ParseNumber(value, options.seed);
        } else if (option == "--log") {
            log_path = std::string(value);
        } else {
            std::fprintf(stderr, "quirn-sim: unknown option: %s (see --help)\n", argv[i - 1]);
            return kUsageError;
        }
        if (!ok) {
            std::fprintf(stderr, "quirn-sim: bad value for %s: %s\n", argv[i - 1], argv[i]);
            return kUsageError;
        }
    }
    // The scenario's state first, so that options such as --admin-password still apply to it.
    std::string admin_password = options.state.admin_password;
    if (!quirn::sim::ApplyScenario(scenario, options)) {
        std::fprintf(stderr, "quirn-sim: unknown scenario: %s (see --help)\n", scenario.c_str());
        return kUsageError;
    }
    options.state.admin_password = admin_password;
    for (std::string_view text : fault_texts) {
        if (!ParseFault(text, options)) {
            std::fprintf(stderr, "quirn-sim: bad fault: %.*s (see --help)\n",
                         static_cast<int>(text.size()), text.data());
            return kUsageError;
        }
    }

    std::FILE* log = stderr;
    if (!log_path.empty()) {
        log = std::fopen(log_path.c_str(), "ab");
        if (log == nullptr) {
            std::fprintf(stderr, "quirn-sim: cannot open %s: %s\n", log_path.c_str(),
                         std::strerror(errno));
            return 1;
        }
    }
    std::mutex log_mutex;
    size_t logged = 0;
    options.on_request = [&](const std::string& raw) {
        std::lock_guard lock(log_mutex);
        std::fprintf(log, "--- request %zu, %zu bytes ---\n", ++logged, raw.size());
        std::fwrite(raw.data(), 1, raw.size(), log);
        std::fputc('\n', log);
        std::fflush(log);
    };

    // The signals are taken by sigwait below; every thread started later inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    quirn::sim::RouterSimulator simulator(options);
    if (!simulator.Start()) {
        std::fprintf(stderr, "quirn-sim: cannot listen: %s\n", simulator.error().c_str());
        return 1;
    }
    std::printf("quirn-sim listening on %s:%u, scenario %s\n", options.listen_address.c_str(),
                static_cast<unsigned>(simulator.port()), scenario.c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    simulator.Stop();
    std::printf("quirn-sim stopped (%s)\n", received == SIGINT ? "SIGINT" : "SIGTERM");
    if (log != stderr) {
        std::fclose(log);
    }
    return 0;
}
