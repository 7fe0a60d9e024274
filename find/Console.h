#pragma once
// The process's standard output and error as torvane-find uses them, and its interrupt keys. Text is
// UTF-8 throughout; a Windows console receives it as Unicode through the console API, files and pipes
// receive the bytes (ConsolePosix.cpp, ConsoleWin32.cpp).
#include <string>
#include <string_view>

class TConsole {
 public:
  TConsole();
  TConsole(const TConsole&) = delete;
  TConsole& operator=(const TConsole&) = delete;

  // Results. Kept in a buffer while stdout is a file or pipe; written at once to a terminal.
  void Out(std::string_view Text);
  // Writes what the buffer holds. False once stdout has failed.
  bool Flush();
  // Stdout could not be written: the reader went away (OutBroken), or another failure (OutErrorText).
  bool OutFailed() const { return FOutFailed; }
  bool OutBroken() const { return FOutBroken; }
  const std::string& OutErrorText() const { return FOutError; }

  // Messages on stderr, written at once, in the status line's place.
  void Err(std::string_view Text);

  // Whether stdout and stderr are terminals (consoles) that a person watches.
  bool OutInteractive() const { return FOutInteractive; }
  bool ErrInteractive() const { return FErrInteractive; }

  // The one-line status on an interactive stderr, cut to the terminal's width: shown, replaced, or
  // erased (empty text). Results written to the same terminal erase it first; the next refresh
  // shows it again.
  void SetStatusLine(std::string_view Text);

 private:
  bool WriteOut(std::string_view Text);
  void EraseStatusLine();

  std::string FBuffer;
  bool FStatusShown = false;
  int FStatusWidth = 0;  // columns the status line was padded to
  bool FOutInteractive = false;
  bool FErrInteractive = false;
  bool FOutFailed = false;
  bool FOutBroken = false;
  std::string FOutError;
};

// Ctrl+C (on POSIX also SIGTERM and SIGHUP) from now on sets the interrupt request instead of ending the
// process, and a write to a closed pipe fails instead of ending it. A second press while the request is
// pending ends the process at once, unless interrupts are held.
void WatchInterrupts();
bool InterruptRequested();
// While held, presses only set the request: the cache file is being replaced.
void HoldInterrupts(bool Hold);
// Ends the process as an interrupted one (POSIX: by the signal itself, so that a calling shell sees
// it; Windows: exit status 130).
[[noreturn]] void ExitInterrupted();
// The last check, once nothing is left to save: an interrupt that came ends the process now, and one
// that comes later ends it at once, so that no interrupt is lost between the check and the exit.
void EndInterrupts();

// What the platform files give TConsole.
namespace ConsolePlatform {
enum TStream { psOut = 1, psErr = 2 };
bool IsTerminal(TStream Stream);
// Writes all of Text; false on failure, with Broken set when the reader went away.
bool Write(TStream Stream, std::string_view Text, bool& Broken, std::string& Error);
// Columns of the terminal behind the stream; 0 when unknown.
int Width(TStream Stream);
}  // namespace ConsolePlatform
