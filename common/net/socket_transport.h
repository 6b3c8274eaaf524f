// socket_transport.h: the library's small blocking socket layer, one IPv4 stream socket per
// exchange, over Winsock (socket_win32.cpp) or POSIX sockets (socket_posix.cpp).
//
// Error numbers are Windows socket error numbers on every platform (the POSIX side maps errno
// onto them), so diagnostic lines read the same everywhere. Nothing here locks; callers run whole
// exchanges under the busy counter.
#pragma once

#include <cstdint>

#include "common/printf_format.h"

namespace lumora {

#ifdef _WIN32
using SocketHandle = std::uintptr_t;  // a SOCKET
inline constexpr SocketHandle kInvalidSocket = ~SocketHandle{0};
#else
using SocketHandle = int;
inline constexpr SocketHandle kInvalidSocket = -1;
#endif

// read_line's caller supplies at least kReadLineBufferSize bytes; one call stores at most
// kReadLineLimit bytes plus a terminating zero byte.
inline constexpr int kReadLineBufferSize = 4096;
inline constexpr int kReadLineLimit = 4094;

// Windows socket error numbers the library tells apart.
inline constexpr int kWsaEWouldBlock = 10035;  // the normal answer of a non-blocking connect
inline constexpr int kWsaETimedOut = 10060;
inline constexpr int kWsaNoData = 11004;  // the name exists but has no IPv4 address

// Starts and ends the platform's socket library around one exchange (WSAStartup requesting 2.0
// and WSACleanup on Windows; nothing elsewhere).
void SocketStartup();
void SocketCleanup();

// A fresh IPv4 stream socket, or kInvalidSocket with the socket error set.
SocketHandle OpenStreamSocket();
void CloseSocket(SocketHandle socket);

enum class SocketTimeout { kSend, kReceive };
// Sets the send or receive time-out (SO_SNDTIMEO / SO_RCVTIMEO). Returns 0, or -1 with the
// socket error set.
int SetSocketTimeout(SocketHandle socket, SocketTimeout which, std::uint32_t milliseconds);

// Connects the fresh, unconnected `socket` to `port` of `host`, a dotted IPv4 address (see
// IsDottedAddress) or a host name for the system resolver, of whose results the first IPv4
// address is used. Waits at most ConnectTimeoutMs(). Returns 1 when connected, 0 on any failure.
// Every connect attempt that does not complete at once logs one socket-error line. On return the
// socket blocks again, except on Windows after a resolver failure: then the caller closes it.
int connect2(std::uint16_t port, const char* host, SocketHandle socket);

// Reads one line, a byte at a time, into `buffer` (kReadLineBufferSize bytes) and zero-terminates
// it. Returns the bytes stored, the "\r\n" included (0 when the peer closed before sending any),
// or -1 on a socket error, a receive time-out (or a passed response deadline) included. Stops
// after kReadLineLimit bytes.
int read_line(char* buffer, SocketHandle socket);

// The whole response of an exchange must arrive within the receive time-out, not only each of
// its bytes: a router that drips its page, or sends one without end, cannot hold a read for
// longer. ArmResponseDeadline starts that time for `socket` on the calling thread; until
// DisarmResponseDeadline, each receive on it through ReceiveBeforeDeadline (read_line's
// included) waits at most for what is left, and fails with WSAETIMEDOUT once nothing is.
void ArmResponseDeadline(SocketHandle socket, int milliseconds);
void DisarmResponseDeadline();
// ReceiveBytes, bounded by the calling thread's response deadline when one is armed for `socket`.
int ReceiveBeforeDeadline(SocketHandle socket, char* buffer, int length);

// Sends all `length` bytes. Returns `length`, or -1 with the socket error set.
int SendBytes(SocketHandle socket, const char* data, int length);
// One receive of at most `length` bytes: the count, 0 when the peer closed, -1 on error.
int ReceiveBytes(SocketHandle socket, char* buffer, int length);

// The calling thread's last socket error number, and a way to set it.
int LastSocketError();
void SetLastSocketError(int number);

// The name printed for a socket error number; "" for numbers outside the known few.
const char* SocketErrorName(int number);

// Writes "Connect Error Code: <name>\n" for the thread's last socket error, then the caller's
// formatted message, to the diagnostic stream. Returns that error number.
int LogSocketError(const char* format, ...) QUIRN_PRINTF_FORMAT(1, 2);

// True when `host` is 1 to 15 characters of four "."-separated parts, each at most three
// digits with a value of at most 255; an empty part passes (inet_addr rejects it later).
bool IsDottedAddress(const char* host);

}  // namespace lumora
