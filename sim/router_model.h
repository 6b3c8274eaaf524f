// router_model.h: the router's behaviour without sockets — accounts, tokens, pages, commands,
// reachability and faults — turning each received request into the reply to put on the wire.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "sim/fault_book.h"
#include "sim/http_message.h"
#include "sim/router_simulator.h"

namespace quirn::sim {

// How one response goes on the wire.
struct Reply {
    enum class Ending {
        kClose,     // orderly close after the bytes
        kHoldOpen,  // keep the connection open until the client closes it or the hold limit
        kReset,     // send `reset_after` bytes, then reset the connection
    };
    std::string bytes;
    Ending ending = Ending::kClose;
    size_t reset_after = 0;
    bool drip = false;       // one byte per drip interval
    size_t split_at = 0;     // when > 0: this many bytes, a pause, then the rest
    bool goes_down = false;  // the router becomes unreachable: refuse connections before replying
};

using Clock = std::chrono::steady_clock;

// Thread-safe: every member locks.
class RouterModel {
  public:
    explicit RouterModel(const SimOptions& options);

    // Logs the request and decides the reply.
    Reply Handle(const std::string& raw);
    // Logs bytes that never became a whole request (the client closed or went silent).
    void LogIncomplete(const std::string& raw);

    RouterState state() const;
    void SetState(const RouterState& state);
    void UpdateState(const std::function<void(RouterState&)>& change);

    void SetFaults(std::vector<FaultPlan> plans);
    void AddFault(const FaultPlan& plan);
    // Whether the next connection is to be held back, and counting one held-back connection.
    bool SlowAcceptArmed() const;
    void TakeSlowAccept();

    bool Reachable() const;
    bool InStandby() const;
    void WakeUp();

    std::string LastToken() const;
    std::vector<ReceivedRequest> Received() const;
    size_t RequestCount() const;
    void ClearRequests();
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;

    const SimOptions& options() const { return options_; }

  private:
    enum class Route {
        kStatusPage,
        kAdminInfo,
        kTopPage,
        kMakerCheck,
        kFirmwarePage,
        kAdminCommand,
        kStatusCommand,
        kPasswordSet,
        kUnknown,
    };
    enum class Command { kReboot, kStandby, kLte3g, kWlan };
    struct Target {
        Route route = Route::kUnknown;
        Command command = Command::kReboot;
        bool post = false;  // the method the route expects
    };

    static Target Classify(const std::string& path);
    bool FaultApplies(Fault fault, const Target& target) const;
    Reply Answer(const HttpRequest& request, const Target& target, std::optional<Fault> fault);
    Reply AnswerCommand(const HttpRequest& request, const Target& target,
                        std::optional<Fault> fault);
    Reply AnswerPasswordSet(const HttpRequest& request);
    // A page reply; page faults (no token, bad bytes, cut page, ...) are applied here.
    Reply PageReply(int status, const std::vector<std::string>& lines, std::optional<Fault> fault);
    std::optional<std::string> IssueToken(std::optional<Fault> fault);
    bool IsStatusAccount(const HttpRequest& request) const;
    bool IsAdmin(const HttpRequest& request) const;
    bool CheckToken(const std::string& token) const;
    void Record(ReceivedRequest received);

    const SimOptions options_;
    mutable std::mutex mutex_;
    mutable std::condition_variable received_cv_;
    RouterState state_;
    FaultBook faults_;
    std::mt19937_64 random_;
    std::string last_token_;
    std::optional<Clock::time_point> down_until_;  // rebooting
    bool standby_ = false;
    std::vector<ReceivedRequest> received_;
};

// "HTTP/1.1 <status> <reason>" with the usual headers and `body`.
std::string HttpResponse(int status, const std::string& body,
                         const std::vector<std::string>& extra_headers = {});

}  // namespace quirn::sim
