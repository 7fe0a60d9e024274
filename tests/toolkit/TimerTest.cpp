#include <gtest/gtest.h>

#include "toolkit/Application.h"
#include "toolkit/Timer.h"

TEST(TimerTest, TicksWhileEnabledAndStopsWhenDisabled) {
  TTimer Timer;
  Timer.SetEnabled(false);
  Timer.SetInterval(20);
  int Ticks = 0;
  Timer.OnTimer = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &Timer);
    if (++Ticks == 3) Timer.SetEnabled(false);
  };
  Timer.SetEnabled(true);
  const DWORD Deadline = GetTickCount() + 5000;
  while (Ticks < 3 && GetTickCount() < Deadline) {
    Application().ProcessMessages();
    Sleep(5);
  }
  EXPECT_EQ(Ticks, 3);
  const DWORD Later = GetTickCount() + 100;
  while (GetTickCount() < Later) Application().ProcessMessages();
  EXPECT_EQ(Ticks, 3);
}
