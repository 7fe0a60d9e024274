#include "find/Console.h"

#include <cstddef>

using namespace ConsolePlatform;

namespace {

// Results leave the buffer in blocks of this size while stdout is a file or pipe.
constexpr std::size_t OutBlock = 64 * 1024;

// Text cut to at most Columns characters (UTF-8 sequences counted as one).
std::string_view CutToColumns(std::string_view Text, int Columns) {
  int Count = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if ((static_cast<unsigned char>(Text[I]) & 0xC0) == 0x80) continue;  // continuation byte
    if (Count++ == Columns) return Text.substr(0, I);
  }
  return Text;
}

}  // namespace

TConsole::TConsole() : FOutInteractive(IsTerminal(psOut)), FErrInteractive(IsTerminal(psErr)) {}

void TConsole::Out(std::string_view Text) {
  if (FOutFailed) return;
  FBuffer.append(Text);
  if (FOutInteractive || FBuffer.size() >= OutBlock) Flush();
}

bool TConsole::Flush() {
  if (FOutFailed) return false;
  if (FBuffer.empty()) return true;
  // Both streams on one terminal: results must not land inside the status line.
  if (FOutInteractive) EraseStatusLine();
  const bool Ok = WriteOut(FBuffer);
  FBuffer.clear();
  return Ok;
}

bool TConsole::WriteOut(std::string_view Text) {
  if (Write(psOut, Text, FOutBroken, FOutError)) return true;
  FOutFailed = true;
  return false;
}

void TConsole::Err(std::string_view Text) {
  EraseStatusLine();
  bool Broken = false;
  std::string Error;
  Write(psErr, Text, Broken, Error);  // nowhere left to report a failure
}

void TConsole::SetStatusLine(std::string_view Text) {
  if (!FErrInteractive) return;
  if (Text.empty()) {
    EraseStatusLine();
    return;
  }
  const int TerminalColumns = Width(psErr);
  // One column short of the width: a full line would move the cursor to the next one.
  const int Columns = (TerminalColumns > 1 ? TerminalColumns : 80) - 1;
  if (FStatusWidth > Columns) FStatusWidth = Columns;
  std::string Line = "\r";
  Line.append(CutToColumns(Text, Columns));
  // Blanks over the rest of what was shown before; the cursor waits at the start of the line.
  int Used = 0;
  for (std::size_t I = 1; I < Line.size(); ++I) Used += (static_cast<unsigned char>(Line[I]) & 0xC0) != 0x80;
  if (Used < FStatusWidth) Line.append(static_cast<std::size_t>(FStatusWidth - Used), ' ');
  Line += '\r';
  bool Broken = false;
  std::string Error;
  Write(psErr, Line, Broken, Error);
  FStatusShown = true;
  FStatusWidth = Used > FStatusWidth ? Used : FStatusWidth;
}

void TConsole::EraseStatusLine() {
  if (!FStatusShown) return;
  std::string Line = "\r";
  Line.append(static_cast<std::size_t>(FStatusWidth), ' ');
  Line += '\r';
  bool Broken = false;
  std::string Error;
  Write(psErr, Line, Broken, Error);
  FStatusShown = false;
  FStatusWidth = 0;
}
