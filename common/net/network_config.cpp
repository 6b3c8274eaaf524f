// network_config.cpp: the production network values and the test-only redirection over them.
#include "common/net/network_config.h"

#include <cstring>

namespace lumora {
namespace {

// Production values until a test redirects them; nothing else writes here.
testing_hook::Redirection g_redirection;

}  // namespace

const char* ConnectHostFor(const char* host) {
    if (std::strcmp(host, kRouterHostName) == 0) {
        return g_redirection.router_host.c_str();
    }
    if (std::strcmp(host, kMakerHostName) == 0) {
        return g_redirection.maker_host.c_str();
    }
    return host;
}

std::uint16_t HttpPort() {
    return g_redirection.port;
}

int ConnectTimeoutMs() {
    return g_redirection.connect_timeout_ms;
}

int SocketTimeoutMs() {
    return g_redirection.socket_timeout_ms;
}

namespace testing_hook {

void Redirect(const Redirection& redirection) {
    g_redirection = redirection;
}

void Reset() {
    g_redirection = Redirection{};
}

}  // namespace testing_hook
}  // namespace lumora
