#include "toolkit/Timer.h"

#include "toolkit/ErrorReport.h"

namespace {
const wchar_t* const TimerClass = L"TorvaneTimer";
}

TTimer::TTimer() : FWindow(TimerClass, &TTimer::WindowProc, this) {
  Update();  // enabled from the start, as a freshly placed timer is; ticks reach OnTimer once it is set
}

TTimer::~TTimer() { KillTimer(FWindow.Handle(), 1); }

void TTimer::SetInterval(unsigned Milliseconds) {
  if (Milliseconds == FInterval) return;
  FInterval = Milliseconds;
  Update();
}

void TTimer::SetEnabled(bool Enabled) {
  if (Enabled == FEnabled) return;
  FEnabled = Enabled;
  Update();
}

void TTimer::Update() {
  KillTimer(FWindow.Handle(), 1);
  if (FEnabled && FInterval > 0) SetTimer(FWindow.Handle(), 1, FInterval, nullptr);
}

LRESULT CALLBACK TTimer::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_TIMER) {
    auto* Timer = TMessageWindow::OwnerOf<TTimer>(Window);
    if (Timer && Timer->FEnabled && Timer->OnTimer) {
      ReportingErrors([Timer] { Timer->OnTimer(Timer); });
    }
    return 0;
  }
  return DefWindowProcW(Window, Message, WParam, LParam);
}
