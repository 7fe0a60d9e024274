#include "toolkit/Timer.h"

#include "toolkit/ErrorReport.h"

namespace {
const wchar_t* const TimerClass = L"TorvaneTimer";
}

TTimer::TTimer() {
  static const bool Registered = [] {
    WNDCLASSW Class = {};
    Class.lpfnWndProc = &TTimer::WindowProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.lpszClassName = TimerClass;
    return RegisterClassW(&Class) != 0;
  }();
  (void)Registered;
  FWindow =
      CreateWindowExW(0, TimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Update();  // enabled from the start, as a freshly placed timer is; ticks reach OnTimer once it is set
}

TTimer::~TTimer() {
  if (FWindow) {
    KillTimer(FWindow, 1);
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
  }
}

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
  KillTimer(FWindow, 1);
  if (FEnabled && FInterval > 0) SetTimer(FWindow, 1, FInterval, nullptr);
}

LRESULT CALLBACK TTimer::WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_TIMER) {
    auto* Timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (Timer && Timer->FEnabled && Timer->OnTimer) {
      ReportingErrors([Timer] { Timer->OnTimer(Timer); });
    }
    return 0;
  }
  return DefWindowProcW(Window, Message, WParam, LParam);
}
