// socket_connection.h: the connection of one router exchange, from socket start-up to close.
//
// Every exchange (a page fetch, a command, the password set) opens its socket the same way: the
// socket library, an IPv4 stream socket, the send and receive time-outs, a connect to port 80.
// Once connected, the whole response must arrive within the receive time-out (see
// ArmResponseDeadline). The connection is closed and the socket library released when the
// object goes out of scope, on every path.
#pragma once

#include "common/router_result.h"
#include "common/net/socket_transport.h"

namespace lumora {

class ExchangeConnection {
  public:
    ExchangeConnection();
    ~ExchangeConnection();
    ExchangeConnection(const ExchangeConnection&) = delete;
    ExchangeConnection& operator=(const ExchangeConnection&) = delete;

    // Creates the socket, sets both time-outs and connects to `host` (after any test
    // redirection). The option calls are logged as "<operation>: setsockopt(...)" lines.
    // Returns kSuccess; kLocalFailure when a time-out cannot be set (error numbers 35 and 36);
    // kConnectFailed when connect2 fails (error number `connect_error_number`).
    RouterResult Open(const char* operation, const char* host, int connect_error_number);

    SocketHandle socket() const { return socket_; }

  private:
    SocketHandle socket_ = kInvalidSocket;
};

}  // namespace lumora
