#pragma once
// Time as the program sees it: the local date and time, a millisecond tick that wraps at 2^32, and a
// sleep. The core defines the interface only; the program's entry hands the platform's clock in with
// SetProgramClock, and tests replace it to make time-driven behaviour repeatable.
// Fails: ProgramClock throws ELogicError when no clock was handed in.
#include <cstdint>

#include "core/DateTime.h"

class TClock {
 public:
  virtual ~TClock() = default;
  virtual TDateTime Now() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t Milliseconds) = 0;
  TDateTime Today() { return DateOf(Now()); }
};

// The clock of code that has none of its own (today's date as a default value): the one last handed
// to SetProgramClock, which must outlive its use.
TClock& ProgramClock();
void SetProgramClock(TClock& Clock);
