#include "core/Clock.h"

#include "core/Exceptions.h"

namespace {
TClock*& InstalledClock() {
  static TClock* Clock = nullptr;
  return Clock;
}
}  // namespace

TClock& ProgramClock() {
  if (!InstalledClock()) throw ELogicError("No clock was handed to the program at its start");
  return *InstalledClock();
}

void SetProgramClock(TClock& Clock) { InstalledClock() = &Clock; }
