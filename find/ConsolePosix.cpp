// Standard streams and interrupt signals through POSIX calls.
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "find/Console.h"

namespace {

volatile sig_atomic_t Requested = 0;
volatile sig_atomic_t Held = 0;
volatile sig_atomic_t Ending = 0;
volatile sig_atomic_t RequestSignal = SIGINT;

void OnSignal(int Signal) {
  if ((Requested || Ending) && !Held) {
    // A second press: the user does not want to wait. The cache file is untouched (it is replaced
    // whole or not at all). Past the last check, the first one ends the process the same way.
    signal(Signal, SIG_DFL);
    raise(Signal);
    return;
  }
  Requested = 1;
  RequestSignal = Signal;
}

}  // namespace

void WatchInterrupts() {
  struct sigaction Action {};
  Action.sa_handler = OnSignal;
  sigemptyset(&Action.sa_mask);
  Action.sa_flags = SA_RESTART;
  for (int Signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction Old {};
    // A shell that started us in the background with the signal ignored keeps it ignored.
    if (sigaction(Signal, nullptr, &Old) == 0 && Old.sa_handler == SIG_IGN) continue;
    sigaction(Signal, &Action, nullptr);
  }
  signal(SIGPIPE, SIG_IGN);  // a reader that went away shows as EPIPE: the search stops, the cache is saved
}

bool InterruptRequested() { return Requested != 0; }

void HoldInterrupts(bool Hold) { Held = Hold ? 1 : 0; }

void EndInterrupts() {
  Ending = 1;  // before the check: a signal from here on ends the process in its handler
  if (Requested) ExitInterrupted();
}

void ExitInterrupted() {
  const int Signal = RequestSignal;
  signal(Signal, SIG_DFL);
  raise(Signal);
  std::_Exit(128 + Signal);
}

namespace ConsolePlatform {

bool IsTerminal(TStream Stream) { return isatty(Stream) == 1; }

bool Write(TStream Stream, std::string_view Text, bool& Broken, std::string& Error) {
  while (!Text.empty()) {
    const ssize_t Put = write(Stream, Text.data(), Text.size());
    if (Put < 0 && errno == EINTR) continue;
    if (Put <= 0) {
      Broken = errno == EPIPE;
      Error = std::strerror(errno);
      return false;
    }
    Text.remove_prefix(static_cast<std::size_t>(Put));
  }
  return true;
}

int Width(TStream Stream) {
  struct winsize Size {};
  return ioctl(Stream, TIOCGWINSZ, &Size) == 0 ? Size.ws_col : 0;
}

}  // namespace ConsolePlatform
