// busy_counter.h: serialises the process's router exchanges on g_library.busy_counter.
//
// Every top-level exchange takes the counter before it touches the library's single-instance
// state (the current record, the page flags, the scanner, the session token) and releases it
// when done. Waiting polls every 10 ms; taking is one atomic step, so two threads never both
// see 0 and go ahead.
#pragma once

namespace lumora {

// Waits until no exchange runs (the counter is 0), without taking the counter.
void WaitUntilIdle();
// Waits until the counter is 0, then makes it 1 in the same atomic step.
void AcquireBusy();
// Gives the counter back.
void ReleaseBusy();

// Holds the counter for one scope.
class BusyGuard {
  public:
    BusyGuard() { AcquireBusy(); }
    ~BusyGuard() { ReleaseBusy(); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};

}  // namespace lumora
