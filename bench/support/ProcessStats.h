#pragma once
// What a benchmark reads of its own process: processor time and resident memory.
#include <cstddef>

// Processor time (user and system) of the whole process so far, in seconds: on a machine busy with
// other work it tells what the process itself cost.
double ProcessCpuSeconds();
// The process's resident set now, and the most it has held since it started, in bytes.
std::size_t ResidentBytes();
std::size_t PeakResidentBytes();
