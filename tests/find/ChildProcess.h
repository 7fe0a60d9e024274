#pragma once
// Runs a program as a child process with its stdout and stderr in pipes: the end-to-end tests of
// torvane-find start the built program natively and, in the Windows build, under Wine.
#include <memory>
#include <string>
#include <thread>
#include <vector>

struct TChildResult {
  std::string Out;
  std::string Err;
  int Status = -1;           // exit status; -1 when it ended by a signal
  bool Interrupted = false;  // ended by Ctrl+C (POSIX: SIGINT; Windows: exit status 130)
};

class TChildProcess {
 public:
  // Starts Program with Arguments (UTF-8). ErrOnTerminal (POSIX only) gives the child's stderr a
  // pseudo-terminal instead of a pipe.
  TChildProcess(const std::string& Program, const std::vector<std::string>& Arguments, bool ErrOnTerminal = false);
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  // Reads stdout until it has at least Bytes in all (or it ends); what was read so far.
  const std::string& ReadOut(std::size_t Bytes);
  // Ctrl+C: SIGINT, or a break event on Windows. False when it could not be sent.
  bool Interrupt();
  // Reads both streams to their end and waits for the child.
  TChildResult Finish();

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
  std::string FOut;
  std::string FErr;
  std::thread FErrReader;
};

// Runs Program to its end.
TChildResult RunChild(const std::string& Program, const std::vector<std::string>& Arguments);
