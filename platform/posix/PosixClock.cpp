#include <chrono>
#include <ctime>
#include <thread>

#include "platform/Platform.h"

namespace {
class TPosixClock : public TClock {
 public:
  TDateTime Now() override {
    const auto Point = std::chrono::system_clock::now();
    const std::time_t Seconds = std::chrono::system_clock::to_time_t(Point);
    struct tm Local {};
    localtime_r(&Seconds, &Local);
    const auto Millis = std::chrono::duration_cast<std::chrono::milliseconds>(Point.time_since_epoch()).count() % 1000;
    TDateTimeParts Parts;
    Parts.Year = Local.tm_year + 1900, Parts.Month = Local.tm_mon + 1, Parts.Day = Local.tm_mday;
    Parts.Hour = Local.tm_hour, Parts.Minute = Local.tm_min, Parts.Second = Local.tm_sec % 60;
    Parts.Millisecond = static_cast<int>(Millis < 0 ? 0 : Millis);
    TDateTime Result = 0;
    TryEncodeDateTime(Parts, Result);
    return Result;
  }
  // The walk reads the tick after every entry: the coarse clock (the scheduler's tick, a few ms) costs
  // a memory read where the precise one may ask the hardware.
  std::uint32_t TickCount() override {
#ifdef CLOCK_MONOTONIC_COARSE
    struct timespec Now {};
    if (clock_gettime(CLOCK_MONOTONIC_COARSE, &Now) == 0)
      return static_cast<std::uint32_t>(static_cast<std::uint64_t>(Now.tv_sec) * 1000 + Now.tv_nsec / 1000000);
#endif
    const auto Since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Since).count());
  }
  void Sleep(std::uint32_t Milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
  }
};
}  // namespace

TClock& PlatformClock() {
  static TPosixClock Clock;
  return Clock;
}
