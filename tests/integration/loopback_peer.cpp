// loopback_peer.cpp: the test peer over POSIX sockets.
#include "tests/integration/loopback_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace lumora::testing_support {
namespace {

// A socket bound to an ephemeral loopback port, and that port.
int BoundSocket(std::uint16_t* port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error("cannot bind a loopback port");
    }
    *port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

LoopbackPeer::LoopbackPeer() {
    listener_ = BoundSocket(&port_);
    if (listen(listener_, 4) != 0) {
        throw std::runtime_error("cannot listen on a loopback port");
    }
}

LoopbackPeer::~LoopbackPeer() {
    if (thread_.joinable()) {
        thread_.join();
    }
    close(listener_);
}

void LoopbackPeer::Serve(std::function<void(int connection)> script) {
    thread_ = std::thread([this, script = std::move(script)] {
        const int connection = accept(listener_, nullptr, nullptr);
        if (connection >= 0) {
            script(connection);
            close(connection);
        }
    });
}

void SendText(int connection, std::string_view text) {
    while (!text.empty()) {
        const ssize_t sent = send(connection, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::uint16_t RefusingPort() {
    std::uint16_t port = 0;
    close(BoundSocket(&port));
    return port;
}

}  // namespace lumora::testing_support
