#include "taskpane/tpFadeThread.h"

UINT TtpFadeThread::StepMessage() {
  static const UINT Message = RegisterWindowMessageW(L"Torvane.tpFadeThread.Step");
  return Message;
}

UINT TtpFadeThread::EndMessage() {
  static const UINT Message = RegisterWindowMessageW(L"Torvane.tpFadeThread.End");
  return Message;
}

TtpFadeThread::TtpFadeThread(HWND BarWindow, bool Collapse, unsigned Serial)
    : FBarWindow(BarWindow), FCollapse(Collapse), FSerial(Serial) {
  // Both names are registered here, on the user-interface thread, before the worker needs them.
  StepMessage();
  EndMessage();
  FThread = std::thread([this] { Execute(); });
}

TtpFadeThread::~TtpFadeThread() {
  Terminate();
  if (FThread.joinable()) FThread.join();
}

void TtpFadeThread::Terminate() { SetEvent(FStop.Get()); }

void TtpFadeThread::StepApplied(bool Last) {
  FLast = Last;
  SetEvent(FApplied.Get());
}

void TtpFadeThread::Execute() {
  const LPARAM Self = reinterpret_cast<LPARAM>(this);
  const WPARAM Serial = FSerial;
  for (;;) {
    // A window that is gone takes no more messages: the roll ends here.
    if (!PostMessageW(FBarWindow, StepMessage(), Serial, Self)) return;
    HANDLE Events[2] = {FStop.Get(), FApplied.Get()};
    if (WaitForMultipleObjects(2, Events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    if (WaitForSingleObject(FStop.Get(), StepInterval) == WAIT_OBJECT_0) return;
    if (FLast) {
      PostMessageW(FBarWindow, EndMessage(), Serial, Self);
      return;
    }
  }
}
