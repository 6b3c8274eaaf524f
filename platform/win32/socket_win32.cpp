// socket_win32.cpp: the socket layer over Winsock 2. A connect is made non-blocking through an
// event selection so it can be given up after the connect time-out.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstring>

#include "common/net/network_config.h"
#include "common/net/socket_transport.h"

namespace lumora {
namespace {

SOCKET AsSocket(SocketHandle socket) {
    return static_cast<SOCKET>(socket);
}

// Resolves `host` and takes the first IPv4 address among the results; the socket is IPv4 and
// only an IPv4 address fits `address`. The resolver's code becomes the thread's socket error.
bool ResolveIpv4(const char* host, std::uint16_t port, sockaddr_in* address) {
    char service[8];
    std::snprintf(service, sizeof service, "%u", static_cast<unsigned>(port));
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    const int code = getaddrinfo(host, service, &hints, &results);
    WSASetLastError(code);
    if (code != 0) {
        return false;
    }
    bool found = false;
    for (const addrinfo* entry = results; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addrlen >= sizeof(sockaddr_in)) {
            std::memcpy(address, entry->ai_addr, sizeof(sockaddr_in));
            found = true;
            break;
        }
    }
    freeaddrinfo(results);
    if (!found) {
        WSASetLastError(kWsaNoData);
    }
    return found;
}

// Waits for the connect notification; 1 only when it came in time and reports no error.
int WaitForConnect(SOCKET socket, WSAEVENT event) {
    const DWORD waited =
        WSAWaitForMultipleEvents(1, &event, FALSE, static_cast<DWORD>(ConnectTimeoutMs()), FALSE);
    if (waited != WSA_WAIT_EVENT_0) {
        return 0;
    }
    WSANETWORKEVENTS events{};
    if (WSAEnumNetworkEvents(socket, event, &events) != 0) {
        return 0;
    }
    if ((events.lNetworkEvents & FD_CONNECT) == 0 || events.iErrorCode[FD_CONNECT_BIT] != 0) {
        return 0;
    }
    return 1;
}

}  // namespace

void SocketStartup() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 0), &data);  // a failure shows up as WSANOTINITIALISED later
}

void SocketCleanup() {
    WSACleanup();
}

SocketHandle OpenStreamSocket() {
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    return socket == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(socket);
}

void CloseSocket(SocketHandle socket) {
    if (socket != kInvalidSocket) {
        closesocket(AsSocket(socket));
    }
}

int SetSocketTimeout(SocketHandle socket, SocketTimeout which, std::uint32_t milliseconds) {
    const DWORD value = milliseconds;  // Winsock takes the time-out as a 4-byte millisecond count
    const int option = which == SocketTimeout::kSend ? SO_SNDTIMEO : SO_RCVTIMEO;
    const int result = setsockopt(AsSocket(socket), SOL_SOCKET, option,
                                  reinterpret_cast<const char*>(&value), sizeof value);
    return result == 0 ? 0 : -1;
}

int connect2(std::uint16_t port, const char* host, SocketHandle handle) {
    const SOCKET socket = AsSocket(handle);
    WSAEVENT event = WSACreateEvent();
    if (event == WSA_INVALID_EVENT) {
        return 0;
    }
    // Selecting the connect notification also makes the socket non-blocking.
    if (WSAEventSelect(socket, event, FD_CONNECT) == SOCKET_ERROR) {
        WSACloseEvent(event);
        return 0;
    }
    sockaddr_in address{};
    if (IsDottedAddress(host)) {
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = inet_addr(host);
    } else if (!ResolveIpv4(host, port, &address)) {
        WSACloseEvent(event);  // the caller closes the still-selected socket right away
        return 0;
    }
    // A dotted text inet_addr rejects (an empty part) must not become the broadcast address.
    if (address.sin_addr.s_addr == INADDR_NONE) {
        WSACloseEvent(event);
        return 0;
    }
    int result = 1;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
        SOCKET_ERROR) {
        const int error = LogSocketError("connect2: connect error(or WSAEWOULDBLOCK)\n");
        result = error == kWsaEWouldBlock ? WaitForConnect(socket, event) : 0;
    } else {
        result = WaitForConnect(socket, event);
    }
    WSAEventSelect(socket, event, 0);
    WSACloseEvent(event);
    u_long blocking = 0;
    ioctlsocket(socket, FIONBIO, &blocking);
    return result;
}

int SendBytes(SocketHandle socket, const char* data, int length) {
    int sent = 0;
    while (sent < length) {
        const int count = send(AsSocket(socket), data + sent, length - sent, 0);
        if (count == SOCKET_ERROR || count == 0) {
            return -1;
        }
        sent += count;
    }
    return sent;
}

int ReceiveBytes(SocketHandle socket, char* buffer, int length) {
    const int count = recv(AsSocket(socket), buffer, length, 0);
    return count == SOCKET_ERROR ? -1 : count;
}

int LastSocketError() {
    return WSAGetLastError();
}

void SetLastSocketError(int number) {
    WSASetLastError(number);
}

}  // namespace lumora
