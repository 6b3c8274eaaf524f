// scenarios.h: named starting points for the quirn-sim program — a router state, possibly with
// a fault.
#pragma once

#include <string_view>
#include <vector>

#include "sim/router_simulator.h"

namespace quirn::sim {

struct Scenario {
    std::string_view name;
    std::string_view description;
    void (*apply)(SimOptions& options);
};

// The state scenarios followed by one scenario per fault (the fault on every request).
std::vector<Scenario> Scenarios();

// Applies the named scenario; false when there is none of that name.
bool ApplyScenario(std::string_view name, SimOptions& options);

}  // namespace quirn::sim
