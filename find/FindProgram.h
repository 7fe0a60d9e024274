#pragma once
// torvane-find from its arguments to its exit status.
#include <string>
#include <vector>

#include "find/Console.h"

// Exit statuses, as grep has them (an interrupted run ends through ExitInterrupted instead).
enum TFindStatus { fsFound = 0, fsNothingFound = 1, fsError = 2 };

// Arguments without the program's name, UTF-8.
int RunFind(const std::vector<std::string>& Arguments, TConsole& Console);
