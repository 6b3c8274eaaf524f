// scenarios.cpp: the scenario table of the quirn-sim program.
#include "sim/scenarios.h"

namespace quirn::sim {
namespace {

constexpr Scenario kStateScenarios[] = {
    {"normal", "battery 80%, strong signal, online over LTE", [](SimOptions&) {}},
    {"charging", "charging at 45%",
     [](SimOptions& o) {
         o.state.charging = true;
         o.state.battery_percent = 45;
     }},
    {"low-battery", "battery 8%, weak signal",
     [](SimOptions& o) {
         o.state.battery_percent = 8;
         o.state.radio = Radio::kWeak;
     }},
    {"wlan", "online over the wireless LAN uplink",
     [](SimOptions& o) { o.state.connection = Connection::kWirelessLan; }},
    {"3g", "online over 3G, medium signal",
     [](SimOptions& o) {
         o.state.connection = Connection::k3G;
         o.state.radio = Radio::kMedium;
     }},
    {"offline", "no Internet connection, out of range",
     [](SimOptions& o) {
         o.state.connection = Connection::kNone;
         o.state.radio = Radio::kOutOfRange;
     }},
    {"firmware-update", "newer firmware is offered",
     [](SimOptions& o) { o.state.firmware_update = true; }},
    {"limit-reached", "the month's data volume is over its limit",
     [](SimOptions& o) { o.state.volume_month_gb = 7.31; }},
    {"no-limit", "no data volume limit configured",
     [](SimOptions& o) { o.state.volume_limit_gb = 0; }},
    {"initial-password", "no administrator password set yet",
     [](SimOptions& o) { o.state.initial_password_mode = true; }},
};

}  // namespace

std::vector<Scenario> Scenarios() {
    std::vector<Scenario> all(std::begin(kStateScenarios), std::end(kStateScenarios));
#define QUIRN_SIM_FAULT_SCENARIO(id, name, description)                          \
    all.push_back(Scenario{name, description, [](SimOptions& o) {                \
                               o.faults.push_back(FaultPlan{Fault::id, "", -1}); \
                           }});
    QUIRN_SIM_FAULTS(QUIRN_SIM_FAULT_SCENARIO)
#undef QUIRN_SIM_FAULT_SCENARIO
    return all;
}

bool ApplyScenario(std::string_view name, SimOptions& options) {
    for (const Scenario& scenario : Scenarios()) {
        if (scenario.name == name) {
            scenario.apply(options);
            return true;
        }
    }
    return false;
}

}  // namespace quirn::sim
