#pragma once
// The worker behind one roll of a task-pane bar. It only keeps time: it posts a step request to the
// bar's window, waits until the user-interface thread has applied it, sleeps 25 ms, and goes on until
// the bar reports the last step; then it posts the end of the roll. It never touches the bar itself,
// so the bar may stop it (and wait for it) at any moment, for instance when it is destroyed.
#include <windows.h>

#include <atomic>
#include <thread>

#include "toolkit/HandleGuards.h"

class TtpFadeThread {
 public:
  static constexpr DWORD StepInterval = 25;  // milliseconds between steps

  // Starts running at once. Serial names this roll in every message it posts (wParam): a later roll
  // may get the same address, so the pointer alone cannot tell its messages from a stopped one's.
  TtpFadeThread(HWND BarWindow, bool Collapse, unsigned Serial);
  // Stops the worker (if it still runs) and waits for it; never blocks on the user-interface thread.
  ~TtpFadeThread();
  TtpFadeThread(const TtpFadeThread&) = delete;
  TtpFadeThread& operator=(const TtpFadeThread&) = delete;

  bool Collapse() const { return FCollapse; }
  unsigned Serial() const { return FSerial; }
  // User-interface thread: the posted step has been applied; Last when the roll reached its end.
  void StepApplied(bool Last);
  // Asks the worker to stop without posting anything more.
  void Terminate();

  // The messages the worker posts to the bar's window; wParam is the serial, lParam the thread object.
  static UINT StepMessage();
  static UINT EndMessage();

 private:
  void Execute();

  HWND FBarWindow;
  bool FCollapse;
  unsigned FSerial;
  TEventHandle FStop{true, false};      // manual reset: set once, stops the worker
  TEventHandle FApplied{false, false};  // auto reset: one step applied
  std::atomic<bool> FLast{false};
  std::thread FThread;
};
