// router_simulator.h: quirn-sim, a believable pocket router on loopback for tests and demos.
// It serves the router's EUC-JP pages from its own state, checks accounts and session tokens,
// carries out commands, and plays faults on request.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quirn::sim {

// The Internet connection the router reports.
enum class Connection { kNone, kWirelessLan, kLte, k3G };

// Radio strength as the router words it; the numbers are the levels a reader derives from it.
enum class Radio { kVeryStrong = 6, kStrong = 4, kMedium = 2, kWeak = 0, kOutOfRange = -1 };

// Everything the router knows about itself. Texts are UTF-8; the pages convert them to EUC-JP.
struct RouterState {
    std::string device_name = "Quirn Pocket Q7";
    std::string firmware_version = "2.1.4";
    bool firmware_update = false;  // newer firmware is offered
    int battery_percent = 80;      // 0..100
    bool charging = false;
    Radio radio = Radio::kStrong;
    Connection connection = Connection::kLte;
    // When not empty, shown instead of the text the connection implies (e.g. an unknown link).
    // It goes into the page as markup, unescaped, so it may carry character references.
    std::string connection_text;
    std::string wan_address = "203.0.113.45/255.255.255.0";
    std::string domain_name = "mobile.vandrel.example";
    std::string bt_name = "QUIRN-Q7-5C21";
    std::string bt_address = "00:1B:DC:42:5C:21";
    bool wifi_wan_link = true;
    double volume_month_gb = 2.45;  // data volume of the current month
    int volume_limit_gb = 7;        // 0 = no limit configured
    std::string status_user = "tarn-access";
    std::string status_password = "tarn-access";
    std::string admin_password = "quirn-admin";
    // The administrator password was never set: every page is the initial-password page until
    // "/index.cgi/wizard_password_set" sets one.
    bool initial_password_mode = false;
};

// Faults the router can play: X(enumerator, command-line name, what it does). Page faults hit
// only page requests, "reboot-drop" only reboot commands, "no-admin-pages" only administrator
// paths; the others hit any request. Add a fault here and give it its effect in the model.
#define QUIRN_SIM_FAULTS(X)                                                                    \
    X(kUnauthorized, "unauthorized", "401 without a body")                                     \
    X(kUnauthorizedWithBody, "unauthorized-body", "401 with an HTML body")                     \
    X(kRedirect, "redirect", "302 Found to a log-in page")                                     \
    X(kNoToken, "no-token", "page without the hidden SESSION_ID field")                        \
    X(kInvalidEucJp, "invalid-euc", "page with a half-width katakana byte pair")               \
    X(kNoBodyEndClosed, "no-body-end", "page without \"</body>\", then the connection closes") \
    X(kNoBodyEndOpen, "no-body-end-open", "page without \"</body>\", connection left open")    \
    X(kRebootDropsConnection, "reboot-drop", "a reboot closes the connection without answer")  \
    X(kNoAdminPages, "no-admin-pages", "404 for the administrator pages and commands")         \
    X(kSlowAccept, "slow-accept", "connections complete only after the slow-accept delay")     \
    X(kLongLine, "long-line", "page with a 5000-byte line")                                    \
    X(kLongLineUnended, "long-line-unended",                                                   \
      "page ending in a 5000-byte line without a line end, then the connection closes")        \
    X(kBinaryGarbage, "garbage", "random bytes instead of a response")                         \
    X(kHugePage, "huge-page", "a 10 MB page")                                                  \
    X(kDrip, "drip", "the response one byte per drip interval")                                \
    X(kResetMidPage, "reset-mid-page", "connection reset halfway through the response")        \
    X(kAcceptThenSilence, "silence", "request read, never answered, connection held open")     \
    X(kSplitStatusLine, "split-status-line", "status line sent in two packets")

enum class Fault {
#define QUIRN_SIM_FAULT_ENUM(id, name, description) id,
    QUIRN_SIM_FAULTS(QUIRN_SIM_FAULT_ENUM)
#undef QUIRN_SIM_FAULT_ENUM
};

// Kebab-case name of a fault, and the reverse (nullopt for an unknown name).
std::string_view FaultName(Fault fault);
std::string_view FaultDescription(Fault fault);
std::optional<Fault> FaultFromName(std::string_view name);
std::vector<Fault> AllFaults();

// A fault together with the requests it applies to.
struct FaultPlan {
    Fault fault = Fault::kUnauthorized;
    // Only requests whose path is exactly this; empty = every request. Ignored by kSlowAccept,
    // which acts before a request is read.
    std::string path;
    // How many matching requests (connections for kSlowAccept) it applies to; -1 = until cleared.
    int times = -1;
};

struct SimOptions {
    std::string listen_address = "127.0.0.1";  // IPv4 literal
    uint16_t port = 0;                         // 0 = an ephemeral port, see port()
    RouterState state;
    std::vector<FaultPlan> faults;
    // How long a rebooting router stays unreachable.
    std::chrono::milliseconds reboot_down_time{60000};
    // kSlowAccept holds the listener closed to new connections for this long, from Start() (or
    // within 10 ms of SetFault) and again after each connection it let through. Clients retry
    // on their own schedule (about 1 s, 3 s, 7 s after the first attempt on Linux), so a
    // connection completes at the first retry after the delay.
    std::chrono::milliseconds slow_accept_delay{5000};
    // Time between bytes under kDrip.
    std::chrono::milliseconds drip_interval{1000};
    // Longest a connection is held open (no "</body>" left open, silence); it also ends when
    // the client closes it or the simulator stops.
    std::chrono::milliseconds hold_open_limit{120000};
    // Seed of the token generator; 0 = a random seed.
    uint64_t seed = 0;
    // Called with the raw bytes of every request received, on the simulator's threads.
    std::function<void(const std::string& raw)> on_request;
};

// What the simulator received: the raw bytes and what it made of them.
struct ReceivedRequest {
    std::string raw;
    std::string method;  // empty when the bytes were no request or the client stopped early
    std::string path;
    std::string body;  // Content-Length bytes after the header
};

class Server;

// The router on a loopback socket. Start() runs the accept loop on its own thread; every
// connection carries one request and is closed after the response. All members are
// thread-safe. The destructor stops the simulator.
class RouterSimulator {
  public:
    explicit RouterSimulator(SimOptions options = {});
    ~RouterSimulator();
    RouterSimulator(const RouterSimulator&) = delete;
    RouterSimulator& operator=(const RouterSimulator&) = delete;

    // Binds and listens; false (with error() set) when the address cannot be had.
    bool Start();
    // Closes the listener and every open connection and joins all threads. Idempotent.
    void Stop();
    // The bound port (valid after a successful Start()).
    uint16_t port() const;
    std::string error() const;

    RouterState state() const;
    void SetState(const RouterState& state);
    // Changes the state under the lock: sim.UpdateState([](RouterState& s) { s.charging = true; }).
    void UpdateState(const std::function<void(RouterState&)>& change);

    // Replaces every fault by this one (applying to every request until cleared).
    void SetFault(Fault fault);
    void SetFault(const FaultPlan& plan);
    void AddFault(const FaultPlan& plan);
    void ClearFaults();

    // Reachability: a rebooting router refuses connections (the port is closed) until its down
    // time has passed; a router in standby refuses them until WakeUp(). Either way the router
    // comes back on the same port.
    bool reachable() const;
    bool in_standby() const;
    void WakeUp();

    // The token the last page handed out; empty before the first page.
    std::string LastToken() const;

    // Requests in the order they were received (raw bytes of each).
    std::vector<std::string> Requests() const;
    std::vector<ReceivedRequest> ReceivedRequests() const;
    size_t RequestCount() const;
    void ClearRequests();
    // Waits until at least count requests have been received; false on time-out.
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;

  private:
    std::unique_ptr<Server> server_;
};

}  // namespace quirn::sim
