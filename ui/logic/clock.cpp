// clock.cpp: the system's wall clock in seconds since 1970.
#include "ui/logic/clock.h"

#include <chrono>

namespace quirn {

int64_t SystemClock::NowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace quirn
