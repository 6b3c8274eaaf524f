// sim_process.h: quirn-sim as a program of its own, for counts that must see only the client:
// a simulator in the test's own process would mix its connections and buffers into them.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

namespace lumora::testing_support {

class SimProcess {
  public:
    // Starts QUIRN_SIM_PROGRAM on an ephemeral loopback port with `args` added, its request log
    // discarded, and waits for the line that names the port.
    explicit SimProcess(std::vector<std::string> args) {
        int pipe_fds[2];
        if (pipe(pipe_fds) != 0) {
            return;
        }
        args.insert(args.begin(), {QUIRN_SIM_PROGRAM, "--listen", "127.0.0.1:0", "--log",
                                   "/dev/null", "--seed", "7"});
        pid_ = fork();
        if (pid_ == 0) {
            dup2(pipe_fds[1], STDOUT_FILENO);
            close(pipe_fds[0]);
            close(pipe_fds[1]);
            std::vector<char*> argv;
            for (std::string& arg : args) {
                argv.push_back(arg.data());
            }
            argv.push_back(nullptr);
            execv(QUIRN_SIM_PROGRAM, argv.data());
            _exit(127);
        }
        close(pipe_fds[1]);
        std::string banner;
        char c;
        while (read(pipe_fds[0], &c, 1) == 1 && c != '\n') {
            banner += c;
        }
        close(pipe_fds[0]);
        std::smatch match;
        if (std::regex_search(banner, match, std::regex("127\\.0\\.0\\.1:([0-9]+)"))) {
            port_ = static_cast<std::uint16_t>(std::stoi(match[1]));
        }
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // 0 when the program did not start.
    std::uint16_t port() const { return port_; }

  private:
    pid_t pid_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace lumora::testing_support
