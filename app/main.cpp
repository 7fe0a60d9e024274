// Program entry: the application, its title, the main window and the message loop.
#include <windows.h>

#include "app/MainForm.h"
#include "toolkit/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Application().Initialize();
  Application().SetTitle("Torvane Search");
  try {
    TForm1 Form1;
    SendMessageW(Form1.Handle(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")));
    Application().Run(Form1);
  } catch (const std::exception& Error) {
    Application().HandleException(Error);
    return 1;
  }
  return 0;
}
