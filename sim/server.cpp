// server.cpp: POSIX sockets for the simulator. Every connection carries one request and is
// closed after its reply.
#include "sim/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quirn::sim {
namespace {

using std::chrono::milliseconds;

constexpr int kBacklog = 64;
constexpr milliseconds kTick{10};
constexpr milliseconds kRequestTimeout{10000};
constexpr milliseconds kTrailingWait{20};
constexpr milliseconds kSplitPause{100};
constexpr milliseconds kLingerAfterReply{200};
constexpr size_t kMaxRequestBytes = 2 * 1024 * 1024;

bool SendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

uint16_t LocalPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

uint16_t PeerPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

}  // namespace

Server::Server(const SimOptions& options)
    : model_(options), address_(options.listen_address), port_(options.port) {}

Server::~Server() {
    Stop();
}

std::string Server::error() const {
    return error_;
}

bool Server::Start() {
    if (started_) {
        return true;
    }
    stopping_ = false;
    if (!OpenListener()) {
        return false;
    }
    started_ = true;
    if (model_.SlowAcceptArmed()) {
        InstallPlug();  // held back from the very first connection on
    }
    accept_thread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void Server::Stop() {
    if (!started_) {
        return;
    }
    {
        std::lock_guard lock(connections_mutex_);
        stopping_ = true;
        for (Connection& connection : connections_) {
            if (connection.fd >= 0) {
                shutdown(connection.fd, SHUT_RDWR);
            }
        }
    }
    stop_cv_.notify_all();
    accept_thread_.join();
    // Threads spawned before the accept loop ended; none are added now.
    for (Connection& connection : connections_) {
        connection.thread.join();
    }
    connections_.clear();
    started_ = false;
}

bool Server::OpenListener() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error_ = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_.load());
    if (inet_pton(AF_INET, address_.c_str(), &address.sin_addr) != 1) {
        error_ = "not an IPv4 address: " + address_;
        close(fd);
        return false;
    }
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, kBacklog) != 0) {
        error_ = address_ + ":" + std::to_string(port_.load()) + ": " + std::strerror(errno);
        close(fd);
        return false;
    }
    port_ = LocalPort(fd);
    std::lock_guard lock(listener_mutex_);
    listen_fd_ = fd;
    return true;
}

void Server::CloseListener() {
    RemovePlug();
    awaiting_held_client_ = false;
    std::lock_guard lock(listener_mutex_);
    if (listen_fd_ >= 0) {
        close(listen_fd_);
        listen_fd_ = -1;
    }
}

void Server::RefuseConnections() {
    std::lock_guard lock(listener_mutex_);
    if (listen_fd_ >= 0) {
        // A listening socket that is shut down leaves the listening state: clients are refused.
        shutdown(listen_fd_, SHUT_RDWR);
    }
}

void Server::AcceptLoop() {
    while (!stopping_) {
        ReapFinished();
        if (!model_.Reachable()) {
            CloseListener();
            Pause(kTick);
            continue;
        }
        if (listen_fd_ < 0 && !OpenListener()) {
            Pause(kTick * 5);  // the port is busy for a moment; try again
            continue;
        }
        bool armed = model_.SlowAcceptArmed();
        if (plug_fd_ >= 0 && (!armed || Clock::now() >= plug_until_)) {
            awaiting_held_client_ = armed;
            RemovePlug();
        } else if (plug_fd_ < 0 && armed && !awaiting_held_client_) {
            InstallPlug();
        }
        if (plug_fd_ >= 0) {
            Pause(kTick);
            continue;
        }
        pollfd entry{listen_fd_, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(kTick.count())) <= 0) {
            continue;
        }
        if ((entry.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            CloseListener();  // shut down for a reboot or standby
            continue;
        }
        AcceptPending();
    }
    CloseListener();
}

void Server::AcceptPending() {
    while (true) {
        int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) {
                continue;
            }
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                CloseListener();
            }
            return;
        }
        if (plug_port_ != 0 && PeerPort(fd) == plug_port_) {
            close(fd);  // our own plug connection
            plug_port_ = 0;
            continue;
        }
        if (awaiting_held_client_) {
            model_.TakeSlowAccept();
            awaiting_held_client_ = false;
        }
        Spawn(fd);
    }
}

void Server::InstallPlug() {
    AcceptPending();  // the queue must be empty for the plug to fill it
    if (listen_fd_ < 0 || listen(listen_fd_, 0) != 0) {
        return;
    }
    plug_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (plug_fd_ < 0) {
        listen(listen_fd_, kBacklog);
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_.load());
    inet_pton(AF_INET, address_.c_str(), &address.sin_addr);
    connect(plug_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);  // in progress
    pollfd entry{plug_fd_, POLLOUT, 0};
    poll(&entry, 1, 1000);
    plug_port_ = LocalPort(plug_fd_);
    plug_until_ = Clock::now() + model_.options().slow_accept_delay;
}

void Server::RemovePlug() {
    if (plug_fd_ < 0) {
        return;
    }
    if (listen_fd_ >= 0) {
        listen(listen_fd_, kBacklog);
        AcceptPending();  // takes the plug connection out of the queue
    }
    close(plug_fd_);
    plug_fd_ = -1;
    plug_port_ = 0;
}

void Server::Spawn(int fd) {
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // split replies stay split
    std::lock_guard lock(connections_mutex_);
    if (stopping_) {
        close(fd);
        return;
    }
    connections_.emplace_back();
    auto self = std::prev(connections_.end());
    self->fd = fd;
    self->thread = std::thread([this, self] { Serve(self); });
}

void Server::ReapFinished() {
    std::lock_guard lock(connections_mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (it->done) {
            it->thread.join();
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

void Server::Serve(ConnectionList::iterator self) {
    int fd = self->fd;
    if (!model_.Reachable()) {
        Finish(self, true);  // accepted just before the router went down
        return;
    }
    std::string raw;
    if (!ReadRequest(fd, raw)) {
        if (!raw.empty()) {
            model_.LogIncomplete(raw);
        }
        Finish(self, false);
        return;
    }
    Reply reply = model_.Handle(raw);
    if (reply.goes_down) {
        RefuseConnections();
    }
    Deliver(fd, reply);
    Finish(self, reply.ending == Reply::Ending::kReset);
}

bool Server::ReadRequest(int fd, std::string& raw) {
    char buffer[4096];
    Clock::time_point deadline = Clock::now() + kRequestTimeout;
    bool complete = false;
    while (!complete) {
        if (stopping_ || Clock::now() >= deadline) {
            return false;
        }
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(kTick.count())) <= 0) {
            continue;
        }
        ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return false;
        }
        raw.append(buffer, static_cast<size_t>(got));
        complete = RequestLength(raw).has_value() || raw.size() >= kMaxRequestBytes;
    }
    // Some clients send bytes after the body (line ends); they belong to this request's record.
    milliseconds wait = raw.rfind("POST", 0) == 0 ? kTrailingWait : milliseconds{0};
    while (raw.size() < kMaxRequestBytes) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(wait.count())) <= 0) {
            break;
        }
        ssize_t got = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got <= 0) {
            break;
        }
        raw.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

void Server::Deliver(int fd, const Reply& reply) {
    const SimOptions& options = model_.options();
    size_t size = reply.ending == Reply::Ending::kReset
                      ? std::min(reply.reset_after, reply.bytes.size())
                      : reply.bytes.size();
    const char* data = reply.bytes.data();
    if (reply.drip) {
        for (size_t i = 0; i < size; ++i) {
            if ((i > 0 && !Pause(options.drip_interval)) || !SendAll(fd, data + i, 1)) {
                return;
            }
        }
    } else if (reply.split_at > 0 && reply.split_at < size) {
        if (!SendAll(fd, data, reply.split_at) || !Pause(kSplitPause) ||
            !SendAll(fd, data + reply.split_at, size - reply.split_at)) {
            return;
        }
    } else if (!SendAll(fd, data, size)) {
        return;
    }
    if (reply.ending == Reply::Ending::kHoldOpen) {
        HoldOpen(fd);
    }
}

void Server::HoldOpen(int fd) {
    Clock::time_point until = Clock::now() + model_.options().hold_open_limit;
    char buffer[512];
    while (!stopping_ && Clock::now() < until) {
        pollfd entry{fd, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(kTick.count())) > 0) {
            if (recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) <= 0) {
                return;  // the client gave up
            }
        }
    }
}

void Server::Finish(ConnectionList::iterator self, bool reset) {
    int fd = self->fd;
    if (reset) {
        linger hard{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    } else {
        // Closing with unread bytes would reset the connection and could cost the client the
        // reply; let the client close first.
        shutdown(fd, SHUT_WR);
        Clock::time_point until = Clock::now() + kLingerAfterReply;
        char buffer[512];
        while (!stopping_ && Clock::now() < until) {
            pollfd entry{fd, POLLIN, 0};
            if (poll(&entry, 1, static_cast<int>(kTick.count())) > 0 &&
                recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) <= 0) {
                break;
            }
        }
    }
    std::lock_guard lock(connections_mutex_);
    close(fd);
    self->fd = -1;
    self->done = true;
}

bool Server::Pause(milliseconds time) {
    std::unique_lock lock(connections_mutex_);
    return !stop_cv_.wait_for(lock, time, [this] { return stopping_.load(); });
}

}  // namespace quirn::sim
