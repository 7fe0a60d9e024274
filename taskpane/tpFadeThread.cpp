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
    : FBarWindow(BarWindow),
      FCollapse(Collapse),
      FSerial(Serial),
      FStop(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      FApplied(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
  // Both names are registered here, on the user-interface thread, before the worker needs them.
  StepMessage();
  EndMessage();
  FThread = std::thread([this] { Execute(); });
}

TtpFadeThread::~TtpFadeThread() {
  Terminate();
  if (FThread.joinable()) FThread.join();
  CloseHandle(FApplied);
  CloseHandle(FStop);
}

void TtpFadeThread::Terminate() { SetEvent(FStop); }

void TtpFadeThread::StepApplied(bool Last) {
  FLast = Last;
  SetEvent(FApplied);
}

void TtpFadeThread::Execute() {
  const LPARAM Self = reinterpret_cast<LPARAM>(this);
  const WPARAM Serial = FSerial;
  for (;;) {
    // A window that is gone takes no more messages: the roll ends here.
    if (!PostMessageW(FBarWindow, StepMessage(), Serial, Self)) return;
    HANDLE Events[2] = {FStop, FApplied};
    if (WaitForMultipleObjects(2, Events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    if (WaitForSingleObject(FStop, StepInterval) == WAIT_OBJECT_0) return;
    if (FLast) {
      PostMessageW(FBarWindow, EndMessage(), Serial, Self);
      return;
    }
  }
}
