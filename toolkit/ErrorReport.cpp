#include "toolkit/ErrorReport.h"

#include <windows.h>

#include "platform/win32/WideText.h"

TErrorReport& ErrorReport() {
  static TErrorReport Instance;
  return Instance;
}

void TErrorReport::Show(const std::exception& Error) {
  if (OnException) {
    OnException(Error);
    return;
  }
  MessageBoxW(GetActiveWindow(), Widen(Error.what()).c_str(), Widen(Caption).c_str(), MB_OK | MB_ICONSTOP);
}
