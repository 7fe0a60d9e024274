// The real program end to end: a copy of torvane-search.exe in a folder of its own (its settings files
// go beside it) is started with a folder argument; the test types "*.log" into "Named:" with the
// keyboard, presses Enter, waits for the search to record the name, closes the window and reads the
// files the program left behind.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/WaitFor.h"

namespace {

int Failures = 0;

void Check(bool Condition, const char* What) {
  if (Condition) return;
  std::printf("FAILED: %s\n", What);
  ++Failures;
}

std::string ReadAll(const std::filesystem::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The started program's window: tests of other programs may show windows with the same caption.
DWORD ProgramProcess = 0;
HWND ProgramWindow() {
  HWND Found = nullptr;
  EnumWindows(
      [](HWND Window, LPARAM Data) -> BOOL {
        DWORD Process = 0;
        GetWindowThreadProcessId(Window, &Process);
        wchar_t Caption[32] = L"";
        GetWindowTextW(Window, Caption, 32);
        if (Process != ProgramProcess || lstrcmpW(Caption, L"Torvane Search") != 0) return TRUE;
        *reinterpret_cast<HWND*>(Data) = Window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&Found));
  return Found;
}

// The criteria panel: the parent of the first combo box of the window.
HWND FindNamed() {
  HWND Found = nullptr;
  EnumChildWindows(
      ProgramWindow(),
      [](HWND Window, LPARAM Data) -> BOOL {
        wchar_t Class[32] = L"";
        GetClassNameW(Window, Class, 32);
        if (lstrcmpiW(Class, L"ComboBox") != 0) return TRUE;
        *reinterpret_cast<HWND*>(Data) = GetParent(Window);
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&Found));
  return Found;
}

// A key as the keyboard delivers it to the window that has the focus in the program's thread.
void Key(DWORD Thread, WORD VirtualKey, wchar_t Char) {
  // The edit field of "Named:", the window's first combo box (without a window manager the program
  // need not be the active window, so the keys go to the field itself).
  (void)Thread;
  HWND Target = FindWindowExW(FindWindowExW(FindNamed(), nullptr, L"ComboBox", nullptr), nullptr, L"Edit", nullptr);
  if (!Target) return;
  PostMessageW(Target, WM_KEYDOWN, VirtualKey, 1);
  PostMessageW(Target, WM_CHAR, Char, 1);
  PostMessageW(Target, WM_KEYUP, VirtualKey, 0xC0000001);
  Sleep(30);
}

}  // namespace

int wmain(int Count, wchar_t** Arguments) {
  if (Count < 2) {
    std::printf("usage: mainform_smoke PATH-TO-torvane-search.exe\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path Home = fs::temp_directory_path() / ("torvane-smoke-" + std::to_string(GetCurrentProcessId()));
  const fs::path Tree = Home / "tree";
  fs::create_directories(Tree / "logs");
  std::ofstream(Tree / "logs" / "today.log") << "log";
  std::ofstream(Tree / "readme.txt") << "text";
  const fs::path Exe = Home / "torvane-search.exe";
  fs::copy_file(Arguments[1], Exe);

  std::wstring CommandLine = L"\"" + Exe.wstring() + L"\" \"" + Tree.wstring() + L"\"";
  STARTUPINFOW Startup = {};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Process = {};
  Check(CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Home.c_str(), &Startup,
                       &Process) != FALSE,
        "the program starts");
  ProgramProcess = Process.dwProcessId;
  HWND Window = nullptr;
  Check(WaitFor([&] { return (Window = ProgramWindow()) && IsWindowVisible(Window); }, 60000), "the window shows");
  // The folder argument starts a first search ("**") half a second after the start.
  const fs::path Names = Home / "kestrix.ini";
  Check(WaitFor([&] { return ReadAll(Names).find("**") != std::string::npos; }, 60000),
        "the search started by the command line ends");
  if (Window) {
    SetForegroundWindow(Window);
    Sleep(300);
    // The first search wrote "**" into the field: select it, so the typing replaces it.
    PostMessageW(FindWindowExW(FindWindowExW(FindNamed(), nullptr, L"ComboBox", nullptr), nullptr, L"Edit", nullptr),
                 EM_SETSEL, 0, -1);
    for (wchar_t Char : std::wstring(L"*.log")) Key(Process.dwThreadId, 0, Char);
    Key(Process.dwThreadId, VK_RETURN, L'\r');
  }
  Check(WaitFor([&] { return ReadAll(Names).find("*.log\r\n") != std::string::npos; }, 60000),
        "the typed name is searched for and recorded");
  if (Window) PostMessageW(Window, WM_CLOSE, 0, 0);
  Check(WaitForSingleObject(Process.hProcess, 60000) == WAIT_OBJECT_0, "the program ends when its window closes");
  DWORD ExitCode = 1;
  GetExitCodeProcess(Process.hProcess, &ExitCode);
  Check(ExitCode == 0, "exit code 0");
  CloseHandle(Process.hThread);
  CloseHandle(Process.hProcess);
  const std::string Cache = ReadAll(Home / "search.cache");
  Check(Cache.find("today.log\r\n") != std::string::npos, "the cache holds what the walk met");
  Check(ReadAll(Home / "kestrixfolders.ini") == Tree.u8string() + "\r\n", "the folder history holds the folder");
  std::error_code Ignored;
  fs::remove_all(Home, Ignored);
  std::printf("%d passed, %d failed\n", Failures ? 0 : 1, Failures ? 1 : 0);
  return Failures ? 1 : 0;
}
