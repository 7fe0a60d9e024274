#include <windows.h>

#include "platform/Platform.h"

namespace {
class TWin32Clock : public TClock {
 public:
  TDateTime Now() override {
    SYSTEMTIME Time;
    GetLocalTime(&Time);
    TDateTimeParts Parts;
    Parts.Year = Time.wYear, Parts.Month = Time.wMonth, Parts.Day = Time.wDay;
    Parts.Hour = Time.wHour, Parts.Minute = Time.wMinute, Parts.Second = Time.wSecond;
    Parts.Millisecond = Time.wMilliseconds;
    TDateTime Result = 0;
    TryEncodeDateTime(Parts, Result);
    return Result;
  }
  std::uint32_t TickCount() override { return GetTickCount(); }
  void Sleep(std::uint32_t Milliseconds) override { ::Sleep(Milliseconds); }
};
}  // namespace

TClock& PlatformClock() {
  static TWin32Clock Clock;
  return Clock;
}
