// Program entry: the application, its title, the main window and the message loop.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "app/MainForm.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "toolkit/Application.h"

namespace {
// The arguments after the program's name, read as Unicode.
std::vector<std::string> CommandLineArguments() {
  int Count = 0;
  LPWSTR* Arguments = CommandLineToArgvW(GetCommandLineW(), &Count);
  std::vector<std::string> Result;
  for (int I = 1; I < Count; ++I) Result.push_back(Narrow(Arguments[I]));
  LocalFree(Arguments);
  return Result;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  InstallPlatformServices();
  Application().Initialize();
  Application().SetTitle(MainCaption);
  const std::vector<std::string> Arguments = CommandLineArguments();
  const TCommandLine Command = ParseCommandLine(Arguments);
  if (Command.Help || !Command.Problem.empty()) {
    const std::string Text = Command.Help ? CommandLineUsage() : Command.Problem + "\n\n" + CommandLineUsage();
    MessageBoxW(nullptr, Widen(Text).c_str(), Widen(MainCaption).c_str(),
                Command.Help ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONERROR);
    return Command.Help ? 0 : 2;
  }
  try {
    // Decided once, before the window reads a settings file. When nothing can be saved the program
    // still runs, and the user learns it now rather than by missing histories later.
    const TSettingsPlace& Settings = ProgramSettingsPlace();
    if (!Settings.Writable)
      MessageBoxW(nullptr, Widen(Settings.Problem).c_str(), Widen(MainCaption).c_str(), MB_OK | MB_ICONWARNING);
    TMainFormSetup Setup;
    Setup.SettingsFolder = Settings.Folder;
    Setup.Arguments = Arguments;
    Setup.FileSystem = &PlatformFileSystem();
    Setup.Clock = &PlatformClock();
    TForm1 Form1(Setup);
    SendMessageW(Form1.Handle(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")));
    Application().Run(Form1);
  } catch (const std::exception& Error) {
    Application().HandleException(Error);
    return 1;
  }
  return 0;
}
