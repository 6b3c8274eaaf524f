// The quirn-sim program: serves its scenario on the given address, logs requests raw, and
// ends cleanly on SIGTERM.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "tests/sim/sim_client.h"

namespace quirn::sim::testing {
namespace {

struct Program {
    pid_t pid = -1;
    int out = -1;  // the program's standard output
};

Program Launch(std::vector<std::string> args) {
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) {
        return {};
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipe_fds[1], STDOUT_FILENO);
        close(pipe_fds[0]);
        close(pipe_fds[1]);
        std::vector<char*> argv;
        args.insert(args.begin(), QUIRN_SIM_PROGRAM);
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execv(QUIRN_SIM_PROGRAM, argv.data());
        _exit(127);
    }
    close(pipe_fds[1]);
    return Program{pid, pipe_fds[0]};
}

std::string ReadLine(int fd) {
    std::string line;
    char c;
    while (read(fd, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line;
}

int WaitExit(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Program, ServesScenarioLogsRequestsAndStopsOnSigterm) {
    std::string log_path = ::testing::TempDir() + "quirn_sim_program_test.log";
    std::remove(log_path.c_str());
    Program program = Launch({"--listen", "127.0.0.1:0", "--scenario", "charging", "--log",
                              log_path, "--admin-password", "s3cret"});
    ASSERT_GT(program.pid, 0);
    std::string banner = ReadLine(program.out);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(banner, match, std::regex("127\\.0\\.0\\.1:([0-9]+)"))) << banner;
    uint16_t port = static_cast<uint16_t>(std::stoi(match[1]));

    std::string request =
        GetRequest("/mobile/mobile.cgi/info_remote_main", "tarn-access", "tarn-access");
    Exchanged got = Exchange(port, request);
    std::string page = EucToUtf8(Body(got.bytes)).value_or("");
    EXPECT_EQ(StatusItems(page)["装置情報電池残量"], "充電中(45%)");
    EXPECT_EQ(
        StatusCode(Exchange(port, GetRequest("/index.cgi/info_btn", "admin", "s3cret")).bytes),
        200);

    kill(program.pid, SIGTERM);
    EXPECT_EQ(WaitExit(program.pid), 0);
    EXPECT_NE(ReadLine(program.out).find("stopped"), std::string::npos);
    close(program.out);

    std::ifstream log(log_path, std::ios::binary);
    std::stringstream logged;
    logged << log.rdbuf();
    std::string expected_start =
        "--- request 1, " + std::to_string(request.size()) + " bytes ---\n" + request + "\n";
    EXPECT_EQ(logged.str().substr(0, expected_start.size()), expected_start);
    EXPECT_NE(logged.str().find("--- request 2, "), std::string::npos);
}

TEST(Program, HelpListsScenariosAndBadArgumentsAreUsageErrors) {
    Program help = Launch({"--help"});
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(help.out, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<size_t>(got));
    }
    close(help.out);
    EXPECT_EQ(WaitExit(help.pid), 0);
    for (const char* name : {"initial-password", "charging", "slow-accept", "reboot-drop"}) {
        EXPECT_NE(text.find(name), std::string::npos) << name;
    }

    for (std::vector<std::string> args : {std::vector<std::string>{"--scenario", "no-such"},
                                          {"--listen", "127.0.0.1"},
                                          {"--fault", "redirect,times=0"},
                                          {"--bogus", "1"},
                                          {"--seed"}}) {
        Program bad = Launch(args);
        close(bad.out);
        EXPECT_EQ(WaitExit(bad.pid), 64) << args[0];
    }
}

}  // namespace
}  // namespace quirn::sim::testing
