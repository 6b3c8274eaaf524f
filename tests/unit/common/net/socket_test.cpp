// Tests of the platform-free socket helpers: the dotted-address rule, the error names and the
// socket-error line.
#include <gtest/gtest.h>

#include <string>

#include "common/net/socket_transport.h"

namespace lumora {
namespace {

TEST(DottedAddress, ChoosesBetweenAddressAndResolver) {
    struct Case {
        const char* host;
        bool dotted;
    };
    const Case cases[] = {
        {"192.168.0.1", true},
        {"192.168.000.001", true},  // 15 characters, leading zeros allowed
        {"0.0.0.0", true},
        {"255.255.255.255", true},
        {"1..2.3", true},  // an empty part passes; inet_addr rejects it later
        {"...", true},
        {"1.2.3.256", false},
        {"1.2.3", false},
        {"1.2.3.4.5", false},
        {"1.2.3.0004", false},
        {"1.2.3.4 ", false},
        {"01.2.3.4444", false},
        {"192.168.0.1x", false},
        {"quirn.home.arpa", false},
        {"", false},
        {"192.168.000.0001", false},  // 16 characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsDottedAddress(c.host), c.dotted) << '"' << c.host << '"';
    }
}

TEST(SocketErrorLine, NamesKnownErrorsAndLeavesOthersBlank) {
    struct Case {
        int number;
        const char* line;
    };
    const Case cases[] = {
        {10035, "Connect Error Code: WSAEWOULDBLOCK\n"},
        {10060, "Connect Error Code: WSAETIMEDOUT\n"},
        {10093, "Connect Error Code: WSANOTINITIALISED\n"},
        {10061, "Connect Error Code: \n"},  // refused: not among the named few
        {0, "Connect Error Code: \n"},
    };
    // The capture starts first: on Windows, opening its file overwrites the thread's error.
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        SetLastSocketError(c.number);
        EXPECT_EQ(LogSocketError("sendCommand: send error\n"), c.number);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  std::string(c.line) + "sendCommand: send error\n");
    }
    testing::internal::CaptureStdout();
    SetLastSocketError(10054);
    LogSocketError("%s: setsockopt(RecvTO) error\n", "http_getinfo");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Connect Error Code: WSAECONNRESET\nhttp_getinfo: setsockopt(RecvTO) error\n");
}

}  // namespace
}  // namespace lumora
