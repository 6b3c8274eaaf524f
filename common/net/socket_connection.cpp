// socket_connection.cpp: opening and closing one exchange's connection.
#include "common/net/socket_connection.h"

#include <cstdint>

#include "common/diagnostics.h"
#include "common/net/network_config.h"

namespace lumora {

ExchangeConnection::ExchangeConnection() {
    SocketStartup();
}

ExchangeConnection::~ExchangeConnection() {
    DisarmResponseDeadline();
    CloseSocket(socket_);
    SocketCleanup();
}

RouterResult ExchangeConnection::Open(const char* operation, const char* host,
                                      int connect_error_number) {
    socket_ = OpenStreamSocket();
    const int timeout = SocketTimeoutMs();
    // The time-out is handed over as a 4-byte millisecond count.
    const unsigned long timeout_size = sizeof(std::uint32_t);
    LogText("%s: setsockopt( %d, SOL_SOCKET, SO_SNDTIMEO, %d, %lu )\n", operation,
            static_cast<int>(socket_), timeout, timeout_size);
    if (SetSocketTimeout(socket_, SocketTimeout::kSend, static_cast<std::uint32_t>(timeout)) != 0) {
        LogSocketError("%s: setsockopt(SendTO) error\n", operation);
        LogLibraryError(35, __LINE__);
        return kLocalFailure;
    }
    LogText("%s: setsockopt( %d, SOL_SOCKET, SO_RCVTIMEO, %d, %lu )\n", operation,
            static_cast<int>(socket_), timeout, timeout_size);
    if (SetSocketTimeout(socket_, SocketTimeout::kReceive, static_cast<std::uint32_t>(timeout)) !=
        0) {
        LogSocketError("%s: setsockopt(RecvTO) error\n", operation);
        LogLibraryError(36, __LINE__);
        return kLocalFailure;
    }
    if (connect2(HttpPort(), ConnectHostFor(host), socket_) != 1) {
        LogLibraryError(connect_error_number, __LINE__);
        return kConnectFailed;
    }
    // From here the whole response must arrive within the receive time-out.
    ArmResponseDeadline(socket_, timeout);
    return kSuccess;
}

}  // namespace lumora
