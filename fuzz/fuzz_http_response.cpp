// fuzz_http_response.cpp: the response side of http_getinfo and sendCommand, over a real
// loopback connection whose router end sends the fuzz input and then closes or resets.
//
// The first input byte picks the exchange (a status poll, the top page, the connection check, a
// reboot, a switch or the password post) and whether the router ends with an orderly close or a
// reset; the rest is what the router sends. Checks: each exchange gives one of the results it
// documents (a failed connect too when the router resets, which can beat the connect's check);
// a successful poll copies out a record within its ranges; the busy counter and the current
// record are released; no file descriptor is left open.
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <thread>

#include "common/busy_counter.h"
#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/library_testing.h"
#include "common/net/network_config.h"
#include "common/net/router_commands.h"
#include "fuzz/fuzz_check.h"

namespace {

using lumora::RouterResult;

// The number of open sockets; with `show`, each descriptor's target on standard error. Only
// sockets are the exchanges' to leak: the fuzzer and the sanitizers open pipes of their own
// (a symbolizer, for one) at moments of their choosing.
int OpenDescriptors(bool show = false) {
    int count = 0;
    if (DIR* directory = opendir("/proc/self/fd")) {
        while (const dirent* entry = readdir(directory)) {
            char target[256] = {};
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            if (readlink(link.c_str(), target, sizeof target - 1) > 0 &&
                std::strncmp(target, "socket:", 7) == 0) {
                ++count;
            }
            if (show) {
                std::fprintf(stderr, "fd %s -> %s\n", entry->d_name, target);
            }
        }
        closedir(directory);
    }
    return count;
}

// The router end: a listener on 127.0.0.1 that the library's exchanges are redirected to.
class Router {
  public:
    Router() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        FUZZ_CHECK(bind(listener_, reinterpret_cast<sockaddr*>(&address), size) == 0);
        FUZZ_CHECK(listen(listener_, 4) == 0);
        FUZZ_CHECK(getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) == 0);
        lumora::testing_hook::Redirection redirection;
        redirection.router_host = "127.0.0.1";
        redirection.maker_host = "127.0.0.1";
        redirection.port = ntohs(address.sin_port);
        redirection.connect_timeout_ms = 2000;
        redirection.socket_timeout_ms = 5000;  // never reached: the router end always ends
        lumora::testing_hook::Redirect(redirection);
    }

    // Accepts one connection, sends `size` bytes and ends it with a reset or an orderly close
    // (after which it reads until the client has closed too, so that nothing resets).
    void Answer(const std::uint8_t* data, std::size_t size, bool reset) {
        const int connection = accept(listener_, nullptr, nullptr);
        if (connection < 0) {
            return;
        }
        std::size_t sent = 0;
        while (sent < size) {
            const ssize_t count = send(connection, data + sent, size - sent, MSG_NOSIGNAL);
            if (count <= 0) {
                break;  // the client stopped reading and closed
            }
            sent += static_cast<std::size_t>(count);
        }
        if (reset) {
            const linger hard{1, 0};
            setsockopt(connection, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        } else {
            shutdown(connection, SHUT_WR);
            char sink[4096];
            while (recv(connection, sink, sizeof sink, 0) > 0) {
            }
        }
        close(connection);
    }

  private:
    int listener_ = -1;
};

// Set while the router end resets: it may do so before the client has seen its connect
// complete, which fails the connect like a refused one.
bool g_router_resets = false;

bool OneOf(RouterResult result, std::initializer_list<RouterResult> allowed) {
    if (g_router_resets && result == lumora::kConnectFailed) {
        return true;
    }
    for (RouterResult a : allowed) {
        if (result == a) {
            return true;
        }
    }
    std::fprintf(stderr, "result %d, last error number %d\n", static_cast<int>(result),
                 lumora::LastLibraryError());
    return false;
}

RouterResult Exchange(int kind) {
    using namespace lumora;
    switch (kind) {
        case 0: {
            RouterStatus status = FreshRouterStatus();
            const RouterResult result =
                GetRouterInfo(kStatusPage, nullptr, kStatusPageUser, kStatusPagePassword, status);
            if (result == kSuccess) {
                FUZZ_CHECK(status.battery_percent >= -3 && status.battery_percent <= 100);
                FUZZ_CHECK(status.radio_level >= -2 && status.radio_level <= 6);
                FUZZ_CHECK(lumora::library_testing::PageHadToken() == 1);
            }
            FUZZ_CHECK(OneOf(result, {kSuccess, kSendFailed, kReceiveFailed, kAuthRefused,
                                      kPageNotUnderstood, kUnexpectedResponse}));
            return result;
        }
        case 1: {
            const RouterResult result = FetchTokenPage(nullptr);
            FUZZ_CHECK(OneOf(result, {kSuccess, kSendFailed, kReceiveFailed, kPageNotUnderstood,
                                      kUnexpectedResponse}));
            return result;
        }
        case 2: {
            const RouterResult result = CheckConnection();
            FUZZ_CHECK(OneOf(result, {kSuccess, kSendFailed, kReceiveFailed, kAuthRefused,
                                      kUnexpectedResponse}));
            return result;
        }
        default: {
            // sendCommand's request kinds: a reboot, a switch, the password post.
            const int request_kind = kind == 3 ? kReboot : kind == 4 ? kSwitchToWlan : 5;
            char request[kRequestBufferSize];
            if (request_kind == 5) {
                FUZZ_CHECK(BuildPasswordRequest(request, "new-password") == 0);
            } else {
                FUZZ_CHECK(BuildCommandRequest("secret", request, request_kind, kAdminUser) == 0);
            }
            BusyGuard busy;
            const RouterResult result = sendCommand(nullptr, request, request_kind);
            // A reboot whose connection drops before an answer has done its job.
            FUZZ_CHECK(OneOf(
                result,
                request_kind == kReboot
                    ? std::initializer_list<RouterResult>{kSuccess, kSendFailed, kAuthRefused,
                                                          kUnexpectedResponse}
                    : std::initializer_list<RouterResult>{kSuccess, kSendFailed, kReceiveFailed,
                                                          kAuthRefused, kUnexpectedResponse}));
            return result;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quirn::fuzz::SilenceDiagnostics();
    static Router router;
    static const int descriptors = OpenDescriptors();
    if (size == 0) {
        return 0;
    }
    const int kind = data[0] % 6;
    const bool reset = (data[0] & 0x80) != 0;
    g_router_resets = reset;
    std::thread answer([&] { router.Answer(data + 1, size - 1, reset); });
    Exchange(kind);
    answer.join();
    FUZZ_CHECK(lumora::library_testing::BusyCount() == 0);
    FUZZ_CHECK(lumora::library_testing::CurrentStatus() == nullptr);
    if (OpenDescriptors() != descriptors) {
        std::fprintf(stderr, "%d sockets open, %d expected\n", OpenDescriptors(true), descriptors);
        FUZZ_CHECK(OpenDescriptors() == descriptors);
    }
    return 0;
}
