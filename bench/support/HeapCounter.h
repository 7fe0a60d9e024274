#pragma once
// Live heap bytes and allocation counts of a benchmark program, counted by replacing the global
// allocation functions (HeapCounter.cpp): what a structure really holds, not what it says it holds.
#include <cstddef>

std::size_t LiveHeapBytes();
std::size_t HeapAllocations();
// The most bytes live at once since the last ResetHeapPeak (or the start).
std::size_t PeakHeapBytes();
void ResetHeapPeak();
