#pragma once
// A message-only window: no screen presence, it only receives messages (timer ticks, posts from
// worker threads) for the object that owns it, on the thread that made it. Destroyed with its owner;
// messages still queued for it are dropped then.
#include <windows.h>

class TMessageWindow {
 public:
  // ClassName is registered with Procedure on first use; Owner goes in the window's user data.
  TMessageWindow(const wchar_t* ClassName, WNDPROC Procedure, void* Owner);
  ~TMessageWindow();
  TMessageWindow(const TMessageWindow&) = delete;
  TMessageWindow& operator=(const TMessageWindow&) = delete;

  HWND Handle() const { return FWindow; }
  // The owner given to the window, or null once it is going.
  template <typename T>
  static T* OwnerOf(HWND Window) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  }

 private:
  HWND FWindow = nullptr;
};
