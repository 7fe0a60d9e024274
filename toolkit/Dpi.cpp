#include "toolkit/Dpi.h"

#include <cstdlib>

#include "toolkit/HandleGuards.h"

namespace {

// The awareness contexts are handles with fixed values; older headers do not name them.
const HANDLE PerMonitorAwareV2 = reinterpret_cast<HANDLE>(-4);
const HANDLE PerMonitorAware = reinterpret_cast<HANDLE>(-3);

// A function of user32 that older systems lack, looked up at run time.
template <typename TFunction>
TFunction User32Function(const char* Name) {
  HMODULE User32 = GetModuleHandleW(L"user32.dll");
  return User32 ? reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(User32, Name))) : nullptr;
}

}  // namespace

void DeclareDpiAwareness() {
  using TSetContext = BOOL(WINAPI*)(HANDLE);
  if (auto SetContext = User32Function<TSetContext>("SetProcessDpiAwarenessContext")) {
    if (SetContext(PerMonitorAwareV2) || SetContext(PerMonitorAware)) return;
    // Already declared (by the manifest, say): that declaration stands.
    if (GetLastError() == ERROR_ACCESS_DENIED) return;
  }
  using TSetAware = BOOL(WINAPI*)();
  if (auto SetAware = User32Function<TSetAware>("SetProcessDPIAware")) SetAware();
}

int WindowPPI(HWND Window) {
  using TDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto DpiForWindow = User32Function<TDpiForWindow>("GetDpiForWindow");
  if (Window && DpiForWindow)
    if (const UINT Dpi = DpiForWindow(Window)) return static_cast<int>(Dpi);
  TDCGuard Screen(nullptr);
  const int Dpi = Screen.Get() ? GetDeviceCaps(Screen.Get(), LOGPIXELSY) : DesignPPI;
  return Dpi > 0 ? Dpi : DesignPPI;
}

int ScaleFontHeight(int Height, int M, int D) {
  if (D <= 0 || M <= 0) return Height;
  const long long Product = static_cast<long long>(std::llabs(Height)) * M;
  // Nearest, halves down: ceil(Product / D - 1/2).
  const int Magnitude = static_cast<int>((2 * Product + D - 1) / (2LL * D));
  return Height < 0 ? -Magnitude : Magnitude;
}
