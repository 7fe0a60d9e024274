// A small helper for the scripts, run under the same Wine server as the program:
//   torvane-window wait CAPTION [SECONDS]   waits until a visible top-level window with that caption exists
//   torvane-window close CAPTION            asks that window to close and waits until it is gone
// With TORVANE_DESKTOP set, the window is looked for on that desktop (a Wine virtual desktop).
// Exit code 0 on success, 1 on time-out or when there is no such window.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {
// The desktop may not exist yet when the program is still starting: look for it again each time.
void EnterDesktop() {
  static bool Entered = false;
  wchar_t Desktop[256] = L"";
  if (Entered || GetEnvironmentVariableW(L"TORVANE_DESKTOP", Desktop, 256) == 0) return;
  if (HDESK Handle = OpenDesktopW(Desktop, 0, FALSE, GENERIC_ALL)) Entered = SetThreadDesktop(Handle) != 0;
}

HWND FindShown(const wchar_t* Caption) {
  EnterDesktop();
  HWND Window = FindWindowW(nullptr, Caption);
  return Window && IsWindowVisible(Window) ? Window : nullptr;
}
}  // namespace

int wmain(int Count, wchar_t** Arguments) {
  if (Count < 3) {
    std::fputws(L"usage: torvane-window wait|close CAPTION [SECONDS]\n", stderr);
    return 2;
  }
  const std::wstring Command = Arguments[1];
  const wchar_t* Caption = Arguments[2];
  const int Seconds = Count > 3 ? _wtoi(Arguments[3]) : 60;
  const DWORD Deadline = GetTickCount() + static_cast<DWORD>(Seconds) * 1000;
  if (Command == L"wait") {
    while (GetTickCount() < Deadline) {
      if (FindShown(Caption)) return 0;
      Sleep(50);
    }
    return 1;
  }
  if (Command == L"close") {
    EnterDesktop();
    HWND Window = FindWindowW(nullptr, Caption);
    if (!Window) return 1;
    PostMessageW(Window, WM_CLOSE, 0, 0);
    while (GetTickCount() < Deadline) {
      if (!IsWindow(Window)) return 0;
      Sleep(50);
    }
    return 1;
  }
  return 2;
}
