// loopback_peer.cpp: the test peer over POSIX sockets or Winsock.
#include "tests/support/loopback_peer.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <stdexcept>

namespace lumora::testing_support {
namespace {

#ifdef _WIN32
SOCKET Native(SocketHandle socket) {
    return static_cast<SOCKET>(socket);
}
void CloseNative(SocketHandle socket) {
    closesocket(Native(socket));
}
constexpr int kSendFlags = 0;  // Winsock raises no signal for a peer that went away

// Winsock stays started for the whole test program, as the application keeps it from start-up
// to exit: the fixtures open their client sockets before any peer exists.
class WinsockEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            throw std::runtime_error("cannot start Winsock");
        }
    }
    void TearDown() override { WSACleanup(); }
};
[[maybe_unused]] testing::Environment* const winsock_environment =
    testing::AddGlobalTestEnvironment(new WinsockEnvironment);
#else
int Native(SocketHandle socket) {
    return socket;
}
void CloseNative(SocketHandle socket) {
    close(socket);
}
constexpr int kSendFlags = MSG_NOSIGNAL;
#endif

// A socket bound to an ephemeral loopback port, and that port.
SocketHandle BoundSocket(std::uint16_t* port) {
    const auto socket = static_cast<SocketHandle>(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (socket == kInvalidSocket ||
        bind(Native(socket), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(Native(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("cannot bind a loopback port");
    }
    *port = ntohs(address.sin_port);
    return socket;
}

}  // namespace

LoopbackPeer::LoopbackPeer() {
    listener_ = BoundSocket(&port_);
    if (listen(Native(listener_), 4) != 0) {
        throw std::runtime_error("cannot listen on a loopback port");
    }
}

LoopbackPeer::~LoopbackPeer() {
    if (thread_.joinable()) {
        thread_.join();
    }
    CloseNative(listener_);
}

void LoopbackPeer::Serve(std::function<void(SocketHandle connection)> script) {
    thread_ = std::thread([this, script = std::move(script)] {
        const auto connection =
            static_cast<SocketHandle>(accept(Native(listener_), nullptr, nullptr));
        if (connection != kInvalidSocket) {
            script(connection);
            CloseNative(connection);
        }
    });
}

NeverAcceptingListener::NeverAcceptingListener() {
    listener_ = BoundSocket(&port_);
    if (listen(Native(listener_), 0) != 0) {
        throw std::runtime_error("cannot listen on a loopback port");
    }
}

NeverAcceptingListener::~NeverAcceptingListener() {
    CloseNative(listener_);
}

void SendText(SocketHandle connection, std::string_view text) {
    while (!text.empty()) {
        const int chunk = static_cast<int>(std::min<std::size_t>(text.size(), 1 << 20));
        const auto sent = send(Native(connection), text.data(), chunk, kSendFlags);
        if (sent <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::uint16_t RefusingPort() {
    std::uint16_t port = 0;
    CloseNative(BoundSocket(&port));
    return port;
}

}  // namespace lumora::testing_support
