// clock.h: where the window's logic takes "now" from, so that tests can set the time.
#pragma once

#include <cstdint>

namespace quirn {

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since 1970 (UTC). Any thread.
    virtual int64_t NowSeconds() = 0;
};

// The system's wall clock.
class SystemClock : public Clock {
  public:
    int64_t NowSeconds() override;
};

}  // namespace quirn
