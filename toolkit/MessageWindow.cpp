#include "toolkit/MessageWindow.h"

TMessageWindow::TMessageWindow(const wchar_t* ClassName, WNDPROC Procedure, void* Owner) {
  WNDCLASSW Class = {};
  const HINSTANCE Instance = GetModuleHandleW(nullptr);
  if (!GetClassInfoW(Instance, ClassName, &Class)) {
    Class.lpfnWndProc = Procedure;
    Class.hInstance = Instance;
    Class.lpszClassName = ClassName;
    RegisterClassW(&Class);
  }
  FWindow = CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Instance, nullptr);
  if (FWindow) SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(Owner));
}

TMessageWindow::~TMessageWindow() {
  if (!FWindow) return;
  SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
  DestroyWindow(FWindow);
}
