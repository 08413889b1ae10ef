// Heap allocations counted by a replacement of the global operator new (allocation_counter.cpp,
// linked into the benchmark and the frame-cost tests): a steady frame must make none.
#pragma once

#include <cstdint>

namespace bench {

// Calls of any operator new since the program started.
int64_t allocations();

}  // namespace bench
