#pragma once
// Counts what the program allocates, for benchmarks that report memory. The
// replaced global operators live in counting_allocator.cpp, a file of their
// own so that the compiler never inlines them into the code they count.

namespace talmeko::bench {

// Plain counters: the benchmarks run on one thread, and atomic updates on
// every allocation would weigh on the timings they sit beside.
extern long long gLive;         // bytes allocated and not yet freed
extern long long gPeak;         // the highest gLive since it was last set
extern long long gAllocations;  // calls of operator new, over-aligned ones included

}  // namespace talmeko::bench
