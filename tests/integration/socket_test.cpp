// Tests of the socket layer over real loopback connections: connect2's address and resolver
// branches, its time-out and failures, and read_line against a peer that controls every byte.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#endif

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/net/network_config.h"
#include "common/net/socket_transport.h"
#ifndef _WIN32
#include "sim/router_simulator.h"  // the simulator runs on POSIX hosts only
#endif
#include "tests/support/loopback_peer.h"

namespace lumora {
namespace {

using testing_support::LoopbackPeer;
using testing_support::NeverAcceptingListener;
using testing_support::RefusingPort;
using testing_support::SendText;
using Clock = std::chrono::steady_clock;

constexpr char kConnectLine[] =
    "Connect Error Code: WSAEWOULDBLOCK\nconnect2: connect error(or WSAEWOULDBLOCK)\n";

// A name the resolver rejects without asking any server (a label longer than 63 bytes).
std::string UnresolvableHost() {
    return std::string(64, 'a') + ".invalid";
}

// connect2 leaves the socket blocking again. Winsock cannot be asked; there the receive time-out
// test shows it, as a non-blocking socket would fail with WSAEWOULDBLOCK instead of timing out.
void ExpectBlocking([[maybe_unused]] SocketHandle socket) {
#ifndef _WIN32
    EXPECT_EQ(fcntl(socket, F_GETFL) & O_NONBLOCK, 0);
#endif
}

// One client socket per test, closed at the end.
class SocketTest : public testing::Test {
  protected:
    void TearDown() override {
        CloseSocket(socket_);
        testing_hook::Reset();
    }
    SocketHandle socket_ = OpenStreamSocket();
};

TEST_F(SocketTest, ConnectsToDottedAddressesAndResolvedNamesAndBlocksAgain) {
    for (const char* host : {"127.0.0.1", "127.000.000.001", "localhost"}) {
        SCOPED_TRACE(host);
        LoopbackPeer peer;
        peer.Serve([](SocketHandle) {});
        CloseSocket(socket_);
        socket_ = OpenStreamSocket();
        testing::internal::CaptureStdout();
        EXPECT_EQ(connect2(peer.port(), host, socket_), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), kConnectLine);
        ExpectBlocking(socket_);
    }
}

TEST_F(SocketTest, RefusedConnectionFails) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(connect2(RefusingPort(), "127.0.0.1", socket_), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kConnectLine);
    ExpectBlocking(socket_);
}

TEST_F(SocketTest, UnresolvableNameFailsWithoutConnecting) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(connect2(80, UnresolvableHost().c_str(), socket_), 0);
    // Read before the capture ends: on Windows its file calls overwrite the thread's error.
    const int error = LastSocketError();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // the caller reports it
    EXPECT_NE(error, 0);
}

// inet_addr rejects the empty part; that must fail before any connect, not become a connect
// to the broadcast address its error value spells.
TEST_F(SocketTest, EmptyDottedPartReachesInetAddrAndFails) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(connect2(80, "127..0.1", socket_), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

#ifndef _WIN32
// The simulator's slow-accept fault holds a connection's handshake back for a while.
TEST_F(SocketTest, ConnectWaitsUpToTheTimeOutButNoLonger) {
    struct Case {
        int hold_ms;
        int timeout_ms;
        int connected;
    };
    // A held-back handshake completes on the client's next SYN, about a second later.
    const Case cases[] = {{2500, 400, 0}, {200, 3000, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeout_ms);
        quirn::sim::SimOptions options;
        options.slow_accept_delay = std::chrono::milliseconds(c.hold_ms);
        options.faults.push_back({quirn::sim::Fault::kSlowAccept, "", 1});
        quirn::sim::RouterSimulator sim(options);
        ASSERT_TRUE(sim.Start());
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the hold is in place
        testing_hook::Redirection redirection;
        redirection.connect_timeout_ms = c.timeout_ms;
        testing_hook::Redirect(redirection);
        CloseSocket(socket_);
        socket_ = OpenStreamSocket();

        testing::internal::CaptureStdout();
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(connect2(sim.port(), "127.0.0.1", socket_), c.connected);
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        testing::internal::GetCapturedStdout();
        if (c.connected == 0) {
            EXPECT_GE(elapsed, c.timeout_ms - 50);
            EXPECT_LT(elapsed, c.timeout_ms + 1000);
        }
    }
}
#endif

// Over POSIX sockets and Winsock alike: a listener whose queue is full completes no handshake.
TEST_F(SocketTest, ConnectToAFullListenerEndsAtTheTimeOut) {
    constexpr int kTimeoutMs = 400;
    NeverAcceptingListener listener;
    testing_hook::Redirection redirection;
    redirection.connect_timeout_ms = kTimeoutMs;
    testing_hook::Redirect(redirection);
    std::vector<SocketHandle> queued;
    long long waited_ms = -1;
    testing::internal::CaptureStdout();
    // The queue's connections complete at once; the first one past its room waits.
    for (int i = 0; i < 16 && waited_ms < 0; ++i) {
        const SocketHandle socket = OpenStreamSocket();
        const Clock::time_point start = Clock::now();
        if (connect2(listener.port(), "127.0.0.1", socket) == 1) {
            queued.push_back(socket);
            continue;
        }
        waited_ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        CloseSocket(socket);
    }
    testing::internal::GetCapturedStdout();
    for (SocketHandle socket : queued) {
        CloseSocket(socket);
    }
    EXPECT_GE(waited_ms, kTimeoutMs - 50);
    EXPECT_LT(waited_ms, kTimeoutMs + 1000);
}

TEST_F(SocketTest, ReadLineKeepsLineEndsAndStopsAtCloseOrLimit) {
    LoopbackPeer peer;
    const std::string long_line(5000, 'x');
    peer.Serve([&](SocketHandle connection) {
        SendText(connection, "01234567\r\n" + long_line + "\nabc");
    });
    ASSERT_EQ(connect2(peer.port(), "127.0.0.1", socket_), 1);
    char buffer[kReadLineBufferSize];
    std::memset(buffer, 'Z', sizeof buffer);

    ASSERT_EQ(read_line(buffer, socket_), 10);
    EXPECT_EQ(std::string(buffer, 11), std::string("01234567\r\n", 11));  // terminator included
    EXPECT_EQ(read_line(buffer, socket_), kReadLineLimit);
    EXPECT_EQ(std::string(buffer), std::string(kReadLineLimit, 'x'));
    EXPECT_EQ(read_line(buffer, socket_), 5001 - kReadLineLimit);
    EXPECT_EQ(read_line(buffer, socket_), 3);  // the peer closed after "abc"
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(read_line(buffer, socket_), 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(SocketTest, ReadLineReportsReceiveTimeOutAsError) {
    LoopbackPeer peer;
    peer.Serve([](SocketHandle connection) {
        SendText(connection, "HTTP/1.1 200 OK\r\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
    });
    ASSERT_EQ(SetSocketTimeout(socket_, SocketTimeout::kReceive, 300), 0);
    ASSERT_EQ(connect2(peer.port(), "127.0.0.1", socket_), 1);
    char buffer[kReadLineBufferSize];
    EXPECT_EQ(read_line(buffer, socket_), 17);
    // Captured first: on Windows, opening the capture file would overwrite the thread's error.
    testing::internal::CaptureStdout();
    EXPECT_EQ(read_line(buffer, socket_), -1);
    EXPECT_EQ(LogSocketError("http_getinfo: read_line error\n"), kWsaETimedOut);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Connect Error Code: WSAETIMEDOUT\nhttp_getinfo: read_line error\n");
}

TEST_F(SocketTest, SendToAPeerThatWentAwayFailsWithoutASignal) {
    LoopbackPeer peer;
    peer.Serve([](SocketHandle) {});  // accepts and closes at once
    ASSERT_EQ(connect2(peer.port(), "127.0.0.1", socket_), 1);
    char buffer[kReadLineBufferSize];
    EXPECT_EQ(read_line(buffer, socket_), 0);
    const std::string chunk(64 * 1024, 'q');
    int result = 0;
    for (int i = 0; i < 50 && result >= 0; ++i) {
        result = SendBytes(socket_, chunk.data(), static_cast<int>(chunk.size()));
    }
    EXPECT_EQ(result, -1);  // and the process is still alive
}

}  // namespace
}  // namespace lumora
