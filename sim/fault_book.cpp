// fault_book.cpp: fault names and the choice of the fault that hits a request.
#include "sim/fault_book.h"

#include <array>

namespace quirn::sim {
namespace {

struct FaultEntry {
    Fault fault;
    std::string_view name;
    std::string_view description;
};

constexpr std::array kFaultTable = {
#define QUIRN_SIM_FAULT_ENTRY(id, name, description) FaultEntry{Fault::id, name, description},
    QUIRN_SIM_FAULTS(QUIRN_SIM_FAULT_ENTRY)
#undef QUIRN_SIM_FAULT_ENTRY
};

}  // namespace

std::string_view FaultName(Fault fault) {
    for (const FaultEntry& entry : kFaultTable) {
        if (entry.fault == fault) {
            return entry.name;
        }
    }
    return "?";
}

std::string_view FaultDescription(Fault fault) {
    for (const FaultEntry& entry : kFaultTable) {
        if (entry.fault == fault) {
            return entry.description;
        }
    }
    return "";
}

std::optional<Fault> FaultFromName(std::string_view name) {
    for (const FaultEntry& entry : kFaultTable) {
        if (entry.name == name) {
            return entry.fault;
        }
    }
    return std::nullopt;
}

std::vector<Fault> AllFaults() {
    std::vector<Fault> faults;
    for (const FaultEntry& entry : kFaultTable) {
        faults.push_back(entry.fault);
    }
    return faults;
}

std::optional<Fault> FaultBook::TakeFor(std::string_view path,
                                        const std::function<bool(Fault)>& applies) {
    for (FaultPlan& plan : plans_) {
        if (plan.times == 0 || plan.fault == Fault::kSlowAccept) {
            continue;
        }
        if (!plan.path.empty() && plan.path != path) {
            continue;
        }
        if (!applies(plan.fault)) {
            continue;
        }
        if (plan.times > 0) {
            --plan.times;
        }
        return plan.fault;
    }
    return std::nullopt;
}

bool FaultBook::Armed(Fault fault) const {
    for (const FaultPlan& plan : plans_) {
        if (plan.fault == fault && plan.times != 0) {
            return true;
        }
    }
    return false;
}

void FaultBook::TakeOne(Fault fault) {
    for (FaultPlan& plan : plans_) {
        if (plan.fault == fault && plan.times != 0) {
            if (plan.times > 0) {
                --plan.times;
            }
            return;
        }
    }
}

}  // namespace quirn::sim
