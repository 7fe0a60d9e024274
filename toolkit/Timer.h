#pragma once
// A timer that raises OnTimer every Interval milliseconds on the user-interface thread while enabled.
#include <windows.h>

#include "core/Object.h"
#include "toolkit/MessageWindow.h"

class TTimer : public TObject {
 public:
  TTimer();
  ~TTimer() override;
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Milliseconds);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Enabled);
  TNotifyEvent OnTimer;

 private:
  static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  void Update();

  TMessageWindow FWindow;  // receives WM_TIMER
  unsigned FInterval = 1000;
  bool FEnabled = true;
};
