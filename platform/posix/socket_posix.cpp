// socket_posix.cpp: the socket layer over POSIX sockets. Errors are kept per thread as Windows
// socket error numbers, so the diagnostic lines name them as the Windows build does.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "common/net/network_config.h"
#include "common/net/socket_transport.h"

namespace lumora {
namespace {

thread_local int t_last_socket_error = 0;

struct ErrnoMapping {
    int error;
    int wsa_number;
};

// errno values and the Windows socket errors that mean the same.
constexpr ErrnoMapping kErrnoMappings[] = {
    {EINTR, 10004},        {EBADF, 10009},        {EACCES, 10013},          {EFAULT, 10014},
    {EINVAL, 10022},       {EMFILE, 10024},       {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},
    {EALREADY, 10037},     {ENOTSOCK, 10038},     {EDESTADDRREQ, 10039},    {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},   {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {EOPNOTSUPP, 10045},
    {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
    {ENETUNREACH, 10051},  {ENETRESET, 10052},    {ECONNABORTED, 10053},    {ECONNRESET, 10054},
    {ENOBUFS, 10055},      {EISCONN, 10056},      {ENOTCONN, 10057},        {EPIPE, 10058},
    {ETIMEDOUT, 10060},    {ECONNREFUSED, 10061}, {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},
};

int WsaNumberOfErrno(int error) {
    for (const ErrnoMapping& mapping : kErrnoMappings) {
        if (mapping.error == error) {
            return mapping.wsa_number;
        }
    }
    return error;  // far below the Windows numbers, so it names nothing
}

// Records errno after a failed transfer on a blocking socket, where "would block" can only
// mean that the send or receive time-out ran out, as Windows reports it.
void RecordTransferError() {
    t_last_socket_error =
        (errno == EAGAIN || errno == EWOULDBLOCK) ? kWsaETimedOut : WsaNumberOfErrno(errno);
}

// The resolver's failure codes as the Windows resolver reports them.
int WsaNumberOfResolverError(int code) {
    switch (code) {
        case EAI_NONAME:
            return 11001;  // WSAHOST_NOT_FOUND
        case EAI_AGAIN:
            return 11002;  // WSATRY_AGAIN
#ifdef EAI_NODATA
        case EAI_NODATA:
            return kWsaNoData;
#endif
        case EAI_MEMORY:
            return 8;  // WSA_NOT_ENOUGH_MEMORY
        case EAI_FAMILY:
            return 10047;
        case EAI_SOCKTYPE:
            return 10044;
        case EAI_SERVICE:
            return 10109;  // WSATYPE_NOT_FOUND
        case EAI_BADFLAGS:
            return 10022;
        case EAI_SYSTEM:
            return WsaNumberOfErrno(errno);
        default:
            return 11003;  // WSANO_RECOVERY
    }
}

// Resolves `host` and takes the first IPv4 address among the results; the socket is IPv4.
bool ResolveIpv4(const char* host, std::uint16_t port, sockaddr_in* address) {
    char service[8];
    std::snprintf(service, sizeof service, "%u", static_cast<unsigned>(port));
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* results = nullptr;
    const int code = getaddrinfo(host, service, &hints, &results);
    if (code != 0) {
        t_last_socket_error = WsaNumberOfResolverError(code);
        return false;
    }
    t_last_socket_error = 0;
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
        t_last_socket_error = kWsaNoData;
    }
    return found;
}

// Waits for a non-blocking connect to finish within the connect time-out; 1 when it succeeded.
int WaitForConnect(int socket) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ConnectTimeoutMs());
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{socket, POLLOUT, 0};
        const int ready = poll(&entry, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            t_last_socket_error = WsaNumberOfErrno(errno);
            return 0;
        }
        if (ready == 0) {
            t_last_socket_error = kWsaETimedOut;
            return 0;
        }
        int error = 0;
        socklen_t size = sizeof error;
        if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
            t_last_socket_error = WsaNumberOfErrno(errno);
            return 0;
        }
        if (error != 0) {
            t_last_socket_error = WsaNumberOfErrno(error);
            return 0;
        }
        return 1;
    }
}

}  // namespace

void SocketStartup() {}

void SocketCleanup() {}

SocketHandle OpenStreamSocket() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0) {
        t_last_socket_error = WsaNumberOfErrno(errno);
        return kInvalidSocket;
    }
#ifdef SO_NOSIGPIPE
    const int on = 1;  // where send has no MSG_NOSIGNAL
    setsockopt(socket, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    return socket;
}

void CloseSocket(SocketHandle socket) {
    if (socket != kInvalidSocket) {
        close(socket);
    }
}

int SetSocketTimeout(SocketHandle socket, SocketTimeout which, std::uint32_t milliseconds) {
    timeval value{};
    value.tv_sec = static_cast<time_t>(milliseconds / 1000);
    value.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
    const int option = which == SocketTimeout::kSend ? SO_SNDTIMEO : SO_RCVTIMEO;
    if (setsockopt(socket, SOL_SOCKET, option, &value, sizeof value) != 0) {
        t_last_socket_error = WsaNumberOfErrno(errno);
        return -1;
    }
    return 0;
}

int connect2(std::uint16_t port, const char* host, SocketHandle socket) {
    sockaddr_in address{};
    if (IsDottedAddress(host)) {
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = inet_addr(host);
    } else if (!ResolveIpv4(host, port, &address)) {
        return 0;
    }
    // A dotted text inet_addr rejects (an empty part) must not become the broadcast address.
    if (address.sin_addr.s_addr == INADDR_NONE) {
        return 0;
    }
    const int flags = fcntl(socket, F_GETFL);
    if (flags < 0 || fcntl(socket, F_SETFL, flags | O_NONBLOCK) < 0) {
        t_last_socket_error = WsaNumberOfErrno(errno);
        return 0;
    }
    int result = 1;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        // A connect under way is what Windows calls "would block" for its non-blocking connect.
        t_last_socket_error = errno == EINPROGRESS ? kWsaEWouldBlock : WsaNumberOfErrno(errno);
        const int error = LogSocketError("connect2: connect error(or WSAEWOULDBLOCK)\n");
        result = error == kWsaEWouldBlock ? WaitForConnect(socket) : 0;
    }
    fcntl(socket, F_SETFL, flags);
    return result;
}

int SendBytes(SocketHandle socket, const char* data, int length) {
#ifdef MSG_NOSIGNAL
    constexpr int kFlags = MSG_NOSIGNAL;  // a peer that went away is an error, not a signal
#else
    constexpr int kFlags = 0;
#endif
    int sent = 0;
    while (sent < length) {
        const ssize_t count = send(socket, data + sent, static_cast<size_t>(length - sent), kFlags);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            RecordTransferError();
            return -1;
        }
        sent += static_cast<int>(count);
    }
    return sent;
}

int ReceiveBytes(SocketHandle socket, char* buffer, int length) {
    for (;;) {
        const ssize_t count = recv(socket, buffer, static_cast<size_t>(length), 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            RecordTransferError();
            return -1;
        }
        return static_cast<int>(count);
    }
}

int LastSocketError() {
    return t_last_socket_error;
}

void SetLastSocketError(int number) {
    t_last_socket_error = number;
}

}  // namespace lumora
