#pragma once
// The worker behind one roll of a task-pane bar. It only keeps time: it posts a step request to the
// bar's window, waits until the user-interface thread has applied it, sleeps 25 ms, and goes on until
// the bar reports the last step; then it posts the end of the roll. It never touches the bar itself,
// so the bar may stop it (and wait for it) at any moment, for instance when it is destroyed.
#include <windows.h>

#include <atomic>
#include <thread>

class TtpFadeThread {
 public:
  static constexpr DWORD StepInterval = 25;  // milliseconds between steps

  // Starts running at once.
  TtpFadeThread(HWND BarWindow, bool Collapse);
  // Stops the worker (if it still runs) and waits for it; never blocks on the user-interface thread.
  ~TtpFadeThread();
  TtpFadeThread(const TtpFadeThread&) = delete;
  TtpFadeThread& operator=(const TtpFadeThread&) = delete;

  bool Collapse() const { return FCollapse; }
  // User-interface thread: the posted step has been applied; Last when the roll reached its end.
  void StepApplied(bool Last);
  // Asks the worker to stop without posting anything more.
  void Terminate();

  // The messages the worker posts to the bar's window; lParam is the thread object.
  static UINT StepMessage();
  static UINT EndMessage();

 private:
  void Execute();

  HWND FBarWindow;
  bool FCollapse;
  HANDLE FStop;     // manual reset: set once, stops the worker
  HANDLE FApplied;  // auto reset: one step applied
  std::atomic<bool> FLast{false};
  std::thread FThread;
};
