// alloc_counter.h: counts the heap allocations one thread makes while counting is on.
//
// Linking alloc_counter.cpp into a program replaces the allocator's entry points with counting
// ones that forward to the C library. Only the thread that started counting is counted, so a
// simulator's or a test runner's threads do not blur the figure. In a sanitizer build, whose
// runtime owns malloc, only operator new and delete are counted (see CountsMalloc).
#pragma once

namespace quirn::bench {

struct AllocationCount {
    long long allocations = 0;  // blocks handed out (malloc, calloc, realloc to a new block, new)
    long long frees = 0;        // blocks given back
    long long bytes = 0;        // bytes asked for
};

// Starts counting the calling thread's allocations from zero.
void StartCountingAllocations();
// Stops counting on the calling thread and returns what was counted since the start.
AllocationCount StopCountingAllocations();

// True when the C allocation functions are counted too, not only operator new and delete.
bool CountsMalloc();

}  // namespace quirn::bench
