// Failures no peer can cause on demand: the system refusing a socket option, or a send failing
// on a connection that is up. This program puts its own send and setsockopt in front of the C
// library's, so the library's real exchanges meet those failures where they would happen.
#include <dlfcn.h>
#include <errno.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/net/router_commands.h"
#include "tests/support/failure_line.h"
#include "tests/support/library_on_simulator.h"

namespace {

// What fails next: a send, or setting the send or the receive time-out.
std::atomic<bool> g_fail_send{false};
std::atomic<int> g_fail_option{0};  // SO_SNDTIMEO, SO_RCVTIMEO or 0

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t send(int socket, const void* data, size_t length, int flags) {
    static const auto real = Next<ssize_t (*)(int, const void*, size_t, int)>("send");
    if (g_fail_send.exchange(false)) {
        errno = ECONNRESET;
        return -1;
    }
    return real(socket, data, length, flags);
}

extern "C" int setsockopt(int socket, int level, int option, const void* value,
                          socklen_t size) noexcept {
    static const auto real = Next<int (*)(int, int, int, const void*, socklen_t)>("setsockopt");
    int expected = option;
    if (level == SOL_SOCKET && option != 0 && g_fail_option.compare_exchange_strong(expected, 0)) {
        errno = ENOBUFS;
        return -1;
    }
    return real(socket, level, option, value, size);
}

namespace lumora {
namespace {

using testing_support::DiagnosticLog;
using testing_support::LoggedFailure;

class SocketFaultsTest : public testing_support::LibraryOnSimulatorTest {
  protected:
    void TearDown() override {
        g_fail_send = false;
        g_fail_option = 0;
        LibraryOnSimulatorTest::TearDown();
    }
};

RouterResult Poll() {
    RouterStatus status = FreshRouterStatus();
    return GetRouterInfo(kStatusPage, nullptr, kStatusPageUser, kStatusPagePassword, status);
}

// A command whose log-in page has been read, so the next send is the command's own.
RouterResult CommandWithFailingSend() {
    char request[kRequestBufferSize];
    EXPECT_EQ(BuildCommandRequest("quirn-admin", request, kSwitchToWlan, kAdminUser), 0);
    g_fail_send = true;
    return sendCommand(nullptr, request, kSwitchToWlan);
}

TEST_F(SocketFaultsTest, EachSystemFailureLogsItsLineAndNumber) {
    struct Case {
        const char* name;
        std::function<RouterResult()> run;
        RouterResult result;
        const char* text;
        int number;
    };
    const Case cases[] = {
        {"the page request cannot be sent",
         [] {
             g_fail_send = true;
             return Poll();
         },
         kSendFailed, "http_getinfo: send error\n", 17},
        {"the command cannot be sent", &CommandWithFailingSend, kSendFailed,
         "sendCommand: send error\n", 34},
        {"no send time-out",
         [] {
             g_fail_option = SO_SNDTIMEO;
             return Poll();
         },
         kLocalFailure, "http_getinfo: setsockopt(SendTO) error\n", 35},
        {"no receive time-out",
         [] {
             g_fail_option = SO_RCVTIMEO;
             return RunRouterCommand("quirn-admin", kStatusPageUser, kReboot);
         },
         kLocalFailure, "http_getinfo: setsockopt(RecvTO) error\n", 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiagnosticLog log;
        EXPECT_EQ(c.run(), c.result);
        EXPECT_TRUE(LoggedFailure(log.Text(), c.text, c.number));
        EXPECT_FALSE(g_fail_send.load());  // the failure was met, not left for a later test
        EXPECT_EQ(g_fail_option.load(), 0);
    }
    // With nothing failing, the same exchanges go through.
    EXPECT_EQ(Poll(), kSuccess);
}

}  // namespace
}  // namespace lumora
