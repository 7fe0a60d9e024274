// Standard streams and Ctrl+C through the console API: a console gets UTF-16 text, a file or pipe UTF-8 bytes.
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "core/FileSystem.h"
#include "find/Console.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"

namespace {

std::atomic<bool> Requested{false};
std::atomic<bool> Held{false};
std::atomic<bool> Ending{false};

BOOL WINAPI OnControl(DWORD Event) {
  switch (Event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      // A second press: the user does not want to wait; the cache file is replaced whole or not at all.
      // Past the last check, the first one ends the process the same way.
      if ((Requested || Ending) && !Held) ExitProcess(130);
      Requested = true;
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      // The system ends the process when this returns (or after its grace period): until then the
      // main thread stops the search, saves the cache and exits on its own.
      Requested = true;
      Sleep(INFINITE);
      return TRUE;
    default: return FALSE;
  }
}

HANDLE StreamHandle(ConsolePlatform::TStream Stream) {
  return GetStdHandle(Stream == ConsolePlatform::psOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

}  // namespace

void WatchInterrupts() { SetConsoleCtrlHandler(OnControl, TRUE); }

bool InterruptRequested() { return Requested; }

void HoldInterrupts(bool Hold) { Held = Hold; }

void ExitInterrupted() { ExitProcess(130); }

void EndInterrupts() {
  Ending = true;
  if (Requested) ExitInterrupted();
}

namespace ConsolePlatform {

bool IsTerminal(TStream Stream) {
  DWORD Mode = 0;
  return GetConsoleMode(StreamHandle(Stream), &Mode) != 0;
}

bool Write(TStream Stream, std::string_view Text, bool& Broken, std::string& Error) {
  const HANDLE Handle = StreamHandle(Stream);
  DWORD Mode = 0;
  bool Ok = true;
  if (GetConsoleMode(Handle, &Mode)) {
    const std::wstring Wide = Widen(Text);
    std::size_t Done = 0;
    while (Ok && Done < Wide.size()) {
      // Consoles take limited pieces per call.
      const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Wide.size() - Done, 8192));
      DWORD Put = 0;
      Ok = WriteConsoleW(Handle, Wide.data() + Done, Chunk, &Put, nullptr) && Put > 0;
      Done += Put;
    }
  } else {
    while (Ok && !Text.empty()) {
      const DWORD Chunk = static_cast<DWORD>(std::min<std::size_t>(Text.size(), 1u << 20));
      DWORD Put = 0;
      Ok = WriteFile(Handle, Text.data(), Chunk, &Put, nullptr) && Put > 0;
      Text.remove_prefix(Put);
    }
  }
  if (Ok) return true;
  const DWORD Code = GetLastError();
  Broken = Code == ERROR_NO_DATA || Code == ERROR_BROKEN_PIPE;
  Error = PlatformFileSystem().LastErrorText();
  return false;
}

int Width(TStream Stream) {
  CONSOLE_SCREEN_BUFFER_INFO Info;
  if (!GetConsoleScreenBufferInfo(StreamHandle(Stream), &Info)) return 0;
  return Info.srWindow.Right - Info.srWindow.Left + 1;
}

}  // namespace ConsolePlatform
