// Runs the program as a user would for the packaging test, under the test's Wine server:
//   program_run WAIT-FILE EXE [ARGUMENT]...
// starts EXE with the arguments, waits until its window shows and WAIT-FILE exists (the program has
// written it), closes the window as its close button does, and waits for the program to end. A
// WAIT-FILE of "+MS" waits MS milliseconds after the window shows instead.
// Exit code: the program's own, or 1 (with the reason on stdout) when a step did not happen in time.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/support/WaitFor.h"

namespace {

// The visible top-level window of the process.
HWND ShownWindowOf(DWORD Process) {
  struct TSearch {
    DWORD Process;
    HWND Found;
  } Search{Process, nullptr};
  EnumWindows(
      [](HWND Window, LPARAM Data) -> BOOL {
        auto& Search = *reinterpret_cast<TSearch*>(Data);
        DWORD Owner = 0;
        GetWindowThreadProcessId(Window, &Owner);
        if (Owner != Search.Process || !IsWindowVisible(Window) || GetWindow(Window, GW_OWNER)) return TRUE;
        Search.Found = Window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

std::wstring Quoted(const std::wstring& Argument) { return L"\"" + Argument + L"\""; }

int Fail(const char* What) {
  std::printf("program_run: %s\n", What);
  return 1;
}

}  // namespace

int wmain(int Count, wchar_t** Arguments) {
  if (Count < 3) {
    std::printf("usage: program_run WAIT-FILE EXE [ARGUMENT]...\n");
    return 2;
  }
  const std::wstring WaitFile = Arguments[1];
  std::wstring CommandLine = Quoted(Arguments[2]);
  for (int I = 3; I < Count; ++I) CommandLine += L" " + Quoted(Arguments[I]);
  STARTUPINFOW Startup = {};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Process = {};
  if (!CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Process))
    return Fail("the program does not start");
  CloseHandle(Process.hThread);
  HWND Window = nullptr;
  int Result = 0;
  if (!WaitFor([&] { return (Window = ShownWindowOf(Process.dwProcessId)) != nullptr; }, 60000)) {
    Result = Fail("no window shows");
  } else if (WaitFile[0] == L'+') {
    Sleep(static_cast<DWORD>(std::wcstoul(WaitFile.c_str() + 1, nullptr, 10)));
  } else if (!WaitFor([&] { return GetFileAttributesW(WaitFile.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000)) {
    Result = Fail("the program does not write the file waited for");
  }
  if (Window) PostMessageW(Window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(Process.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(Process.hProcess, 1);
    Result = Fail("the program does not end when its window closes");
  }
  DWORD ExitCode = 1;
  GetExitCodeProcess(Process.hProcess, &ExitCode);
  CloseHandle(Process.hProcess);
  return Result ? Result : static_cast<int>(ExitCode);
}
