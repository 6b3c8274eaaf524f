// loopback_peer.h: a tiny TCP peer on 127.0.0.1 for byte-level socket tests, where a test must
// control exactly which bytes arrive and when the connection ends. On Windows the test program
// that links it has Winsock started for its whole run.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <thread>

#include "common/net/socket_transport.h"

namespace lumora::testing_support {

class LoopbackPeer {
  public:
    // Listens on 127.0.0.1 at an ephemeral port.
    LoopbackPeer();
    // Joins the serving thread and closes the listener.
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    std::uint16_t port() const { return port_; }

    // Accepts one connection on a thread of its own, runs `script` with its socket and then
    // closes it.
    void Serve(std::function<void(SocketHandle connection)> script);

  private:
    SocketHandle listener_ = kInvalidSocket;
    std::uint16_t port_ = 0;
    std::thread thread_;
};

// A loopback listener that never accepts, with the shortest queue the system allows: once its
// queue is full, a further connection's handshake is never completed.
class NeverAcceptingListener {
  public:
    NeverAcceptingListener();
    ~NeverAcceptingListener();
    NeverAcceptingListener(const NeverAcceptingListener&) = delete;
    NeverAcceptingListener& operator=(const NeverAcceptingListener&) = delete;

    std::uint16_t port() const { return port_; }

  private:
    SocketHandle listener_ = kInvalidSocket;
    std::uint16_t port_ = 0;
};

// Writes all of `text` to `connection`.
void SendText(SocketHandle connection, std::string_view text);

// A loopback port where nothing listens, so a connect is refused.
std::uint16_t RefusingPort();

}  // namespace lumora::testing_support
