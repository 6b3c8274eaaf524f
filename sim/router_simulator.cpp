// router_simulator.cpp: the public face of the simulator over its model and server.
#include "sim/router_simulator.h"

#include "sim/server.h"

namespace quirn::sim {

RouterSimulator::RouterSimulator(SimOptions options) : server_(std::make_unique<Server>(options)) {}

RouterSimulator::~RouterSimulator() {
    Stop();
}

bool RouterSimulator::Start() {
    return server_->Start();
}
void RouterSimulator::Stop() {
    server_->Stop();
}
uint16_t RouterSimulator::port() const {
    return server_->port();
}
std::string RouterSimulator::error() const {
    return server_->error();
}

RouterState RouterSimulator::state() const {
    return server_->model().state();
}
void RouterSimulator::SetState(const RouterState& state) {
    server_->model().SetState(state);
}
void RouterSimulator::UpdateState(const std::function<void(RouterState&)>& change) {
    server_->model().UpdateState(change);
}

void RouterSimulator::SetFault(Fault fault) {
    SetFault(FaultPlan{fault, "", -1});
}
void RouterSimulator::SetFault(const FaultPlan& plan) {
    server_->model().SetFaults({plan});
}
void RouterSimulator::AddFault(const FaultPlan& plan) {
    server_->model().AddFault(plan);
}
void RouterSimulator::ClearFaults() {
    server_->model().SetFaults({});
}

bool RouterSimulator::reachable() const {
    return server_->model().Reachable();
}
bool RouterSimulator::in_standby() const {
    return server_->model().InStandby();
}
void RouterSimulator::WakeUp() {
    server_->model().WakeUp();
}

std::string RouterSimulator::LastToken() const {
    return server_->model().LastToken();
}

std::vector<std::string> RouterSimulator::Requests() const {
    std::vector<std::string> raw;
    for (const ReceivedRequest& request : server_->model().Received()) {
        raw.push_back(request.raw);
    }
    return raw;
}

std::vector<ReceivedRequest> RouterSimulator::ReceivedRequests() const {
    return server_->model().Received();
}

size_t RouterSimulator::RequestCount() const {
    return server_->model().RequestCount();
}
void RouterSimulator::ClearRequests() {
    server_->model().ClearRequests();
}

bool RouterSimulator::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    return server_->model().WaitForRequests(count, timeout);
}

}  // namespace quirn::sim
