#pragma once
// Waiting for another process to do something: Condition is asked every 50 ms until it holds or the
// time is up; the answer is its last value.
#include <windows.h>

template <typename TCondition>
bool WaitFor(TCondition Condition, DWORD Milliseconds) {
  const DWORD Start = GetTickCount();
  while (GetTickCount() - Start < Milliseconds) {
    if (Condition()) return true;
    Sleep(50);
  }
  return Condition();
}
