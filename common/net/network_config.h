// network_config.h: the fixed names, port and time-outs of every router exchange, in one place,
// and the one test-only hook that may redirect them.
//
// The shipped program never calls the hook: it always talks to port 80 of the names below with
// the time-outs below. Tests call testing_hook::Redirect to reach a simulator on an ephemeral
// loopback port, unprivileged, and to shorten the time-outs so a time-out case takes a second.
#pragma once

#include <cstdint>
#include <string>

namespace lumora {

// The router's local host name: where commands always go, and the HOST header of every POST.
inline constexpr char kRouterHostName[] = "quirn.home.arpa";
// The maker's public web host, fetched by the connection check.
inline constexpr char kMakerHostName[] = "www.vandrel.example";
inline constexpr std::uint16_t kHttpPort = 80;
inline constexpr int kConnectTimeoutMs = 3000;
inline constexpr int kSocketTimeoutMs = 60000;  // each send, and the whole response

// The host a connection to `host` is opened to: `host` itself unless a test redirected it.
// The returned text lives until the next Redirect or Reset.
const char* ConnectHostFor(const char* host);
// The port every exchange connects to: kHttpPort unless a test redirected it.
std::uint16_t HttpPort();
// The connect time-out and the send/receive time-out in milliseconds.
int ConnectTimeoutMs();
int SocketTimeoutMs();

// For tests only. Not thread-safe: call it before any exchange starts, never during one.
namespace testing_hook {

struct Redirection {
    std::string router_host = kRouterHostName;  // where connections to kRouterHostName go
    std::string maker_host = kMakerHostName;    // where connections to kMakerHostName go
    std::uint16_t port = kHttpPort;
    int connect_timeout_ms = kConnectTimeoutMs;
    int socket_timeout_ms = kSocketTimeoutMs;
};

// Sends later exchanges where `redirection` says; names other than the two fixed ones are
// connected to as given (e.g. a --router address), on the redirected port.
void Redirect(const Redirection& redirection);
// Back to the production values.
void Reset();

}  // namespace testing_hook
}  // namespace lumora
