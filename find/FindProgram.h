#pragma once
// torvane-find from its arguments to its exit status.
#include <string>
#include <vector>

#include "find/Console.h"

// Exit statuses, as grep has them (an interrupted run ends through ExitInterrupted instead).
enum TFindStatus { fsFound = 0, fsNothingFound = 1, fsError = 2 };
// The closing note of a run stopped by Ctrl+C (or a signal to end): the list above it is incomplete.
inline constexpr const char* StoppedText = "Stopped before the end: the list is incomplete";

// Arguments without the program's name, UTF-8.
int RunFind(const std::vector<std::string>& Arguments, TConsole& Console);
