#include "bench/support/ProcessStats.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#endif

#ifdef _WIN32
double ProcessCpuSeconds() {
  FILETIME Created, Exited, Kernel, User;
  if (!GetProcessTimes(GetCurrentProcess(), &Created, &Exited, &Kernel, &User)) return 0;
  const auto Seconds = [](const FILETIME& Time) {
    return (static_cast<double>(Time.dwHighDateTime) * 4294967296.0 + Time.dwLowDateTime) / 1e7;
  };
  return Seconds(Kernel) + Seconds(User);
}

namespace {
PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS Counters = {};
  Counters.cb = sizeof(Counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &Counters, sizeof(Counters));
  return Counters;
}
}  // namespace

std::size_t ResidentBytes() { return Memory().WorkingSetSize; }
std::size_t PeakResidentBytes() { return Memory().PeakWorkingSetSize; }
#else
double ProcessCpuSeconds() {
  struct rusage Usage {};
  getrusage(RUSAGE_SELF, &Usage);
  return Usage.ru_utime.tv_sec + Usage.ru_stime.tv_sec + (Usage.ru_utime.tv_usec + Usage.ru_stime.tv_usec) / 1e6;
}

std::size_t ResidentBytes() {
  std::size_t Pages = 0, Resident = 0;
  std::ifstream("/proc/self/statm") >> Pages >> Resident;
  return Resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

std::size_t PeakResidentBytes() {
  struct rusage Usage {};
  getrusage(RUSAGE_SELF, &Usage);
  return static_cast<std::size_t>(Usage.ru_maxrss) * 1024;  // kilobytes on Linux
}
#endif
