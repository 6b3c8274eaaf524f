// socket_transport.cpp: the platform-free half of the socket layer: the dotted-address rule,
// the error names, the socket-error line and read_line over the platform's receive.
#include "common/net/socket_transport.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/diagnostics.h"

namespace lumora {
namespace {

struct ErrorName {
    int number;
    const char* name;
};

using Clock = std::chrono::steady_clock;

// The response deadline of the exchange the calling thread runs.
struct ResponseDeadline {
    SocketHandle socket = kInvalidSocket;  // kInvalidSocket: none armed
    Clock::time_point end;
    long long applied_ms = 0;  // the receive time-out currently set on the socket
};

thread_local ResponseDeadline t_deadline;

constexpr ErrorName kErrorNames[] = {
    {10004, "WSAEINTR"},          {10014, "WSAEFAULT"},       {10022, "WSAEINVAL"},
    {10035, "WSAEWOULDBLOCK"},    {10036, "WSAEINPROGRESS"},  {10038, "WSAENOTSOCK"},
    {10040, "WSAEMSGSIZE"},       {10045, "WSAEOPNOTSUPP"},   {10050, "WSAENETDOWN"},
    {10052, "WSAENETRESET"},      {10053, "WSAECONNABORTED"}, {10054, "WSAECONNRESET"},
    {10057, "WSAENOTCONN"},       {10058, "WSAESHUTDOWN"},    {10060, "WSAETIMEDOUT"},
    {10093, "WSANOTINITIALISED"},
};

}  // namespace

const char* SocketErrorName(int number) {
    for (const ErrorName& entry : kErrorNames) {
        if (entry.number == number) {
            return entry.name;
        }
    }
    return "";
}

int LogSocketError(const char* format, ...) {
    const int number = LastSocketError();
    std::FILE* stream = DiagnosticStream();
    std::fprintf(stream, "Connect Error Code: %s\n", SocketErrorName(number));
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stream, format, args);
    va_end(args);
    std::fflush(stream);
    return number;
}

bool IsDottedAddress(const char* host) {
    const std::size_t length = std::strlen(host);
    if (length == 0 || length > 15) {
        return false;
    }
    int dots = 0;
    int part_length = 0;
    int part_value = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        const char c = host[i];
        if (c == '.' || c == '\0') {
            if (part_value > 255) {
                return false;
            }
            dots += c == '.';
            part_length = 0;
            part_value = 0;
        } else if (c >= '0' && c <= '9' && part_length < 3) {
            ++part_length;
            part_value = part_value * 10 + (c - '0');
        } else {
            return false;  // not a digit, or a fourth digit
        }
    }
    return dots == 3;
}

void ArmResponseDeadline(SocketHandle socket, int milliseconds) {
    t_deadline.socket = socket;
    t_deadline.end = Clock::now() + std::chrono::milliseconds(milliseconds);
    t_deadline.applied_ms = milliseconds;
}

void DisarmResponseDeadline() {
    t_deadline.socket = kInvalidSocket;
}

int ReceiveBeforeDeadline(SocketHandle socket, char* buffer, int length) {
    if (socket != kInvalidSocket && socket == t_deadline.socket) {
        const long long left =
            std::chrono::ceil<std::chrono::milliseconds>(t_deadline.end - Clock::now()).count();
        if (left <= 0) {
            SetLastSocketError(kWsaETimedOut);
            return -1;
        }
        // The time-out shrinks with what is left, at most once a millisecond, not once a byte.
        if (left < t_deadline.applied_ms) {
            if (SetSocketTimeout(socket, SocketTimeout::kReceive,
                                 static_cast<std::uint32_t>(left)) != 0) {
                return -1;
            }
            t_deadline.applied_ms = left;
        }
    }
    return ReceiveBytes(socket, buffer, length);
}

int read_line(char* buffer, SocketHandle socket) {
    int stored = 0;
    while (stored < kReadLineLimit) {
        char byte = 0;
        const int received = ReceiveBeforeDeadline(socket, &byte, 1);
        if (received < 0) {
            return -1;
        }
        if (received == 0) {
            break;  // orderly close: hand over what arrived
        }
        buffer[stored++] = byte;
        if (byte == '\n') {
            break;
        }
    }
    buffer[stored] = '\0';
    return stored;
}

}  // namespace lumora
