// The exchanges' own failure lines and error numbers, each from the failure itself: a router
// that falls silent, refuses or redirects a command, a closed port, or credentials and passwords
// that do not fit their requests.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/net/http_exchange.h"
#include "common/net/http_request.h"
#include "common/net/network_config.h"
#include "common/net/router_commands.h"
#include "tests/support/failure_line.h"
#include "tests/support/library_on_simulator.h"

namespace lumora {
namespace {

using quirn::sim::Fault;
using quirn::sim::FaultPlan;
using testing_support::DiagnosticLog;
using testing_support::LoggedFailure;

class FailureLinesTest : public testing_support::LibraryOnSimulatorTest {
  public:
    RouterResult Poll() {
        RouterStatus status = FreshRouterStatus();
        return GetRouterInfo(kStatusPage, nullptr, kStatusPageUser, kStatusPagePassword, status);
    }
};

TEST_F(FailureLinesTest, EachFailureLogsItsLineAndNumber) {
    const std::string wlan = CommandPath(kSwitchToWlan, kAdminUser);
    const std::string reboot = CommandPath(kReboot, kAdminUser);
    const std::string long_user(99, 'u');
    const std::string long_password(300, 'p');  // twice in the body: past its room
    struct Case {
        const char* name;
        std::function<RouterResult(FailureLinesTest&)> run;
        RouterResult result;
        const char* text;
        int number;
    };
    const Case cases[] = {
        {"the page's status line never comes",
         [](FailureLinesTest& t) {
             t.sim().SetFault(Fault::kAcceptThenSilence);
             return t.Poll();
         },
         kReceiveFailed, "http_getinfo: read_line error\n", 18},
        {"a command refused with 401",
         [&](FailureLinesTest& t) {
             t.sim().SetFault(FaultPlan{Fault::kUnauthorized, wlan});
             return RunRouterCommand("quirn-admin", kStatusPageUser, kSwitchToWlan);
         },
         kAuthRefused, "", 29},
        {"a command redirected",
         [&](FailureLinesTest& t) {
             t.sim().SetFault(FaultPlan{Fault::kRedirect, wlan});
             return RunRouterCommand("quirn-admin", kStatusPageUser, kSwitchToWlan);
         },
         kUnexpectedResponse, "", 30},
        {"a command never answered",
         [&](FailureLinesTest& t) {
             t.sim().SetFault(FaultPlan{Fault::kAcceptThenSilence, wlan});
             return RunRouterCommand("quirn-admin", kStatusPageUser, kSwitchToWlan);
         },
         kReceiveFailed, "sendCommand: recv error\n", 31},
        {"a rebooting router drops the command's connection",
         [&](FailureLinesTest& t) {
             t.sim().SetFault(FaultPlan{Fault::kRebootDropsConnection, reboot});
             return RunRouterCommand("quirn-admin", kStatusPageUser, kReboot);
         },
         kSuccess, "sendCommand: recv error\n", 31},
        {"the command's port is closed",
         [](FailureLinesTest& t) {
             char request[kRequestBufferSize];
             EXPECT_EQ(BuildCommandRequest("quirn-admin", request, kSwitchToWlan, kAdminUser), 0);
             t.StopSim();
             return sendCommand(nullptr, request, kSwitchToWlan);
         },
         kConnectFailed, "", 33},
        {"the status account's credentials do not fit a command",
         [&](FailureLinesTest& t) {
             t.sim().SetFault(Fault::kNoAdminPages);
             return RunRouterCommand("quirn-admin", long_user.c_str(), kSwitchToWlan);
         },
         kLocalFailure, "RunRouterCommand: credentials too long\n", 41},
        {"a new password that does not fit its request",
         [&](FailureLinesTest& t) {
             t.sim().UpdateState([](quirn::sim::RouterState& s) { s.initial_password_mode = true; });
             return SetAdminPassword(kStatusPagePassword, long_password.c_str(), kStatusPageUser);
         },
         kLocalFailure, "SetAdminPassword: new password too long\n", 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartSim(DefaultOptions());
        DiagnosticLog log;
        EXPECT_EQ(c.run(*this), c.result);
        EXPECT_TRUE(LoggedFailure(log.Text(), c.text, c.number));
    }
}

}  // namespace
}  // namespace lumora
