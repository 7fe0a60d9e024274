// Entry of torvane-find: the arguments as UTF-8, then the program.
#ifdef _WIN32
#include <windows.h>

#include "platform/win32/WideText.h"
#endif

#include <exception>
#include <string>
#include <vector>

#include "find/FindOptions.h"
#include "find/FindProgram.h"
#include "platform/Platform.h"

namespace {

int Main(const std::vector<std::string>& Arguments) {
  InstallPlatformServices();
  TConsole Console;
  try {
    return RunFind(Arguments, Console);
  } catch (const std::exception& Error) {
    Console.Err(std::string(FindProgramName) + ": " + Error.what() + "\n");
    return fsError;
  }
}

}  // namespace

#ifdef _WIN32
int wmain(int Count, wchar_t** Values) {
  std::vector<std::string> Arguments;
  for (int I = 1; I < Count; ++I) Arguments.push_back(Narrow(Values[I]));
  return Main(Arguments);
}
#else
int main(int Count, char** Values) { return Main(std::vector<std::string>(Values + 1, Values + Count)); }
#endif
