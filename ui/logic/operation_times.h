// operation_times.h: the main window's records of when its operations started, and of commands
// waiting to be issued again after a password prompt.
#pragma once

#include <cstdint>
#include <map>

#include "ui/logic/poll_exchange.h"

namespace quirn {

// Time stamps are seconds since 1970.
struct OperationTimes {
    // Every time stamp is `now`; polls count as failing until the first one succeeds.
    explicit OperationTimes(int64_t now)
        : pollStarted(now),
          rebootStarted(now),
          standbyStarted(now),
          switchStarted(now),
          checkStarted(now),
          failingSince(now) {}

    int64_t pollStarted;         // start of the latest status poll
    int64_t rebootStarted;       // start of the latest reboot command
    int64_t standbyStarted;      // start of the latest standby command
    int64_t switchStarted;       // start of the latest switch command
    int64_t checkStarted;        // start of the latest connection check
    int64_t failingSince;        // when the current series of failed polls began
    bool rebootPending = false;  // a reboot's 60-second wait has not ended
    bool switchPending = false;  // a switch's one-second wait has not ended
    bool checkPending = false;   // a connection check's one-second wait has not ended
    bool failing = true;         // polls are failing
    uint16_t standbyPhase = 0;   // 0 idle, 1 standby under way, 2 standby succeeded
};

// A command's re-issue after the user entered the administrator password again.
struct CommandRetry {
    bool retried = false;  // the command now running is the second attempt
    bool pending = false;  // the timer is to issue the command once more
};

// The retry records of the three commands (reboot, standby, switch), all clear.
inline std::map<int32_t, CommandRetry> MakeCommandRetries() {
    std::map<int32_t, CommandRetry> retries;
    retries.emplace(kRequestReboot, CommandRetry{});
    retries.emplace(kRequestStandby, CommandRetry{});
    retries.emplace(kRequestSwitch, CommandRetry{});
    return retries;
}

}  // namespace quirn
