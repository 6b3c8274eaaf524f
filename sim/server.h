// server.h: the simulator's sockets — the listener and its accept loop, one thread per
// connection, refusing connections while the router is down, and holding connections back
// for the slow-accept fault.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include "sim/router_model.h"
#include "sim/router_simulator.h"

namespace quirn::sim {

class Server {
  public:
    explicit Server(const SimOptions& options);
    ~Server();

    bool Start();
    void Stop();
    uint16_t port() const { return port_.load(); }
    std::string error() const;
    RouterModel& model() { return model_; }

  private:
    struct Connection {
        std::thread thread;
        int fd = -1;
        bool done = false;
    };
    using ConnectionList = std::list<Connection>;

    void AcceptLoop();
    bool OpenListener();
    void CloseListener();
    void AcceptPending();
    void InstallPlug();
    void RemovePlug();
    void Spawn(int fd);
    void ReapFinished();
    void Serve(ConnectionList::iterator self);
    bool ReadRequest(int fd, std::string& raw);
    void Deliver(int fd, const Reply& reply);
    void HoldOpen(int fd);
    void Finish(ConnectionList::iterator self, bool reset);
    // Makes the listener refuse connections at once; the accept loop then closes it.
    void RefuseConnections();
    // Waits for `time`; false when the simulator is stopping.
    bool Pause(std::chrono::milliseconds time);

    RouterModel model_;
    const std::string address_;
    std::atomic<uint16_t> port_;
    std::atomic<bool> stopping_{false};
    bool started_ = false;
    std::string error_;

    std::mutex listener_mutex_;  // guards listen_fd_ against RefuseConnections
    int listen_fd_ = -1;
    // Slow accept: a connection of our own fills the accept queue (backlog 0), so the kernel
    // drops clients' connection attempts until it is taken away.
    int plug_fd_ = -1;
    uint16_t plug_port_ = 0;
    Clock::time_point plug_until_{};
    bool awaiting_held_client_ = false;  // plug removed; the next client is the held-back one

    std::thread accept_thread_;
    std::mutex connections_mutex_;
    std::condition_variable stop_cv_;
    ConnectionList connections_;
};

}  // namespace quirn::sim
