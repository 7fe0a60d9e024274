#pragma once
#include <cstdint>

#include "core/DateTime.h"

// Time as the program sees it: the local date and time, a millisecond tick that wraps at 2^32, and a
// sleep. Tests replace it to make time-driven behaviour repeatable.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual TDateTime Now() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t Milliseconds) = 0;
  TDateTime Today() { return DateOf(Now()); }
};

// The platform's clock, shared by the whole program.
TClock& SystemClock();
