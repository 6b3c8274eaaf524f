// fault_book.h: the faults the simulator is asked to play, and which request each one hits.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "sim/router_simulator.h"

namespace quirn::sim {

// Ordered list of fault plans with their remaining uses. Not thread-safe: its owner locks.
class FaultBook {
  public:
    void Set(std::vector<FaultPlan> plans) { plans_ = std::move(plans); }
    void Add(const FaultPlan& plan) { plans_.push_back(plan); }
    void Clear() { plans_.clear(); }

    // The first plan with uses left whose path matches and whose fault `applies` accepts; that
    // use is counted. nullopt when no plan hits the request.
    std::optional<Fault> TakeFor(std::string_view path, const std::function<bool(Fault)>& applies);

    // Whether a plan for this fault still has uses left, and counting one use of it.
    bool Armed(Fault fault) const;
    void TakeOne(Fault fault);

  private:
    std::vector<FaultPlan> plans_;
};

}  // namespace quirn::sim
