#include "tests/find/ChildProcess.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/WideText.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <stdexcept>

namespace {

#ifdef _WIN32
// One argument quoted as the C runtime's parser reads it back.
std::wstring Quoted(const std::wstring& Argument) {
  if (!Argument.empty() && Argument.find_first_of(L" \t\"") == std::wstring::npos) return Argument;
  std::wstring Result = L"\"";
  std::size_t Backslashes = 0;
  for (wchar_t C : Argument) {
    if (C == L'\\') {
      ++Backslashes;
      continue;
    }
    Result.append(C == L'"' ? Backslashes * 2 + 1 : Backslashes, L'\\');
    Backslashes = 0;
    Result += C;
  }
  Result.append(Backslashes * 2, L'\\');
  return Result + L"\"";
}

bool ReadSome(HANDLE Pipe, std::string& Into) {
  char Buffer[8192];
  DWORD Got = 0;
  if (!ReadFile(Pipe, Buffer, sizeof Buffer, &Got, nullptr) || Got == 0) return false;
  Into.append(Buffer, Got);
  return true;
}
#else
bool ReadSome(int Fd, std::string& Into) {
  char Buffer[8192];
  for (;;) {
    const ssize_t Got = read(Fd, Buffer, sizeof Buffer);
    if (Got < 0 && errno == EINTR) continue;
    if (Got <= 0) return false;
    Into.append(Buffer, static_cast<std::size_t>(Got));
    return true;
  }
}
#endif

}  // namespace

#ifdef _WIN32
struct TChildProcess::TImpl {
  PROCESS_INFORMATION Process{};
  HANDLE Out = nullptr;
  HANDLE Err = nullptr;
  bool OutEnded = false;
};

TChildProcess::TChildProcess(const std::string& Program, const std::vector<std::string>& Arguments, bool)
    : FImpl(std::make_unique<TImpl>()) {
  SECURITY_ATTRIBUTES Inherit{sizeof Inherit, nullptr, TRUE};
  HANDLE OutWrite = nullptr, ErrWrite = nullptr;
  if (!CreatePipe(&FImpl->Out, &OutWrite, &Inherit, 0) || !CreatePipe(&FImpl->Err, &ErrWrite, &Inherit, 0))
    throw std::runtime_error("CreatePipe failed");
  SetHandleInformation(FImpl->Out, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(FImpl->Err, HANDLE_FLAG_INHERIT, 0);
  std::wstring CommandLine = Quoted(Widen(Program));
  for (const std::string& Argument : Arguments) CommandLine += L" " + Quoted(Widen(Argument));
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  Startup.hStdOutput = OutWrite;
  Startup.hStdError = ErrWrite;
  // Its own process group, so that a break event reaches the child alone.
  const BOOL Started = CreateProcessW(nullptr, CommandLine.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP,
                                      nullptr, nullptr, &Startup, &FImpl->Process);
  CloseHandle(OutWrite);
  CloseHandle(ErrWrite);
  if (!Started) throw std::runtime_error("cannot start " + Program);
  FErrReader = std::thread([this] {
    while (ReadSome(FImpl->Err, FErr)) {
    }
  });
}

TChildProcess::~TChildProcess() {
  if (FImpl->Process.hProcess) {
    TerminateProcess(FImpl->Process.hProcess, 1);
    Finish();
  }
}

const std::string& TChildProcess::ReadOut(std::size_t Bytes) {
  while (!FImpl->OutEnded && FOut.size() < Bytes) FImpl->OutEnded = !ReadSome(FImpl->Out, FOut);
  return FOut;
}

// The child shares this process's console, if it has one; Wine 8 answers ERROR_INVALID_HANDLE.
bool TChildProcess::Interrupt() { return GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, FImpl->Process.dwProcessId); }

TChildResult TChildProcess::Finish() {
  ReadOut(static_cast<std::size_t>(-1));
  if (FErrReader.joinable()) FErrReader.join();
  TChildResult Result;
  WaitForSingleObject(FImpl->Process.hProcess, INFINITE);
  DWORD Code = 0;
  GetExitCodeProcess(FImpl->Process.hProcess, &Code);
  Result.Status = static_cast<int>(Code);
  Result.Interrupted = Code == 130;
  CloseHandle(FImpl->Process.hProcess);
  CloseHandle(FImpl->Process.hThread);
  CloseHandle(FImpl->Out);
  CloseHandle(FImpl->Err);
  FImpl->Process = PROCESS_INFORMATION{};
  Result.Out = FOut;
  Result.Err = FErr;
  return Result;
}
#else
struct TChildProcess::TImpl {
  pid_t Pid = -1;
  int Out = -1;
  int Err = -1;
  bool OutEnded = false;
};

TChildProcess::TChildProcess(const std::string& Program, const std::vector<std::string>& Arguments, bool ErrOnTerminal)
    : FImpl(std::make_unique<TImpl>()) {
  int OutPipe[2], ErrPipe[2];
  if (pipe2(OutPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::string Terminal;
  if (ErrOnTerminal) {
    ErrPipe[0] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (ErrPipe[0] < 0 || grantpt(ErrPipe[0]) != 0 || unlockpt(ErrPipe[0]) != 0)
      throw std::runtime_error("no pseudo-terminal");
    Terminal = ptsname(ErrPipe[0]);
    ErrPipe[1] = -1;
  } else if (pipe2(ErrPipe, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  std::vector<char*> Argv;
  Argv.push_back(const_cast<char*>(Program.c_str()));
  for (const std::string& Argument : Arguments) Argv.push_back(const_cast<char*>(Argument.c_str()));
  Argv.push_back(nullptr);
  FImpl->Pid = fork();
  if (FImpl->Pid == 0) {
    const int ErrFd = ErrOnTerminal ? open(Terminal.c_str(), O_RDWR | O_NOCTTY) : ErrPipe[1];
    dup2(OutPipe[1], 1);
    dup2(ErrFd, 2);
    signal(SIGINT, SIG_DFL);
    execv(Program.c_str(), Argv.data());
    _exit(127);
  }
  close(OutPipe[1]);
  if (ErrPipe[1] >= 0) close(ErrPipe[1]);
  FImpl->Out = OutPipe[0];
  FImpl->Err = ErrPipe[0];
  FErrReader = std::thread([this] {
    while (ReadSome(FImpl->Err, FErr)) {
    }
  });
}

TChildProcess::~TChildProcess() {
  if (FImpl->Pid > 0) {
    kill(FImpl->Pid, SIGKILL);
    Finish();
  }
}

const std::string& TChildProcess::ReadOut(std::size_t Bytes) {
  while (!FImpl->OutEnded && FOut.size() < Bytes) FImpl->OutEnded = !ReadSome(FImpl->Out, FOut);
  return FOut;
}

bool TChildProcess::Interrupt() { return kill(FImpl->Pid, SIGINT) == 0; }

TChildResult TChildProcess::Finish() {
  ReadOut(static_cast<std::size_t>(-1));
  TChildResult Result;
  int Status = 0;
  while (waitpid(FImpl->Pid, &Status, 0) < 0 && errno == EINTR) {
  }
  FImpl->Pid = -1;
  // A pseudo-terminal reports the end of its last writer only after the child is gone.
  if (FErrReader.joinable()) FErrReader.join();
  close(FImpl->Out);
  close(FImpl->Err);
  if (WIFEXITED(Status)) Result.Status = WEXITSTATUS(Status);
  Result.Interrupted = WIFSIGNALED(Status) && WTERMSIG(Status) == SIGINT;
  Result.Out = FOut;
  Result.Err = FErr;
  return Result;
}
#endif

TChildResult RunChild(const std::string& Program, const std::vector<std::string>& Arguments) {
  return TChildProcess(Program, Arguments).Finish();
}
