#pragma once
// Counters of the benchmark's operator new, which this program replaces: how often the analysis
// allocates, and the most memory it holds at once.

#include <cstddef>

namespace bench {

std::size_t allocationCount();  // calls of operator new so far
std::size_t bytesInUse();       // bytes allocated and not yet released
std::size_t peakBytes();        // the most bytes in use since the last resetPeakBytes
void resetPeakBytes();

}  // namespace bench
