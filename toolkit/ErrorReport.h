#pragma once
// The general error report: an exception that reaches a window procedure, a timer or the message loop
// is shown in a message box with its message, and the program goes on.
#include <exception>
#include <functional>
#include <string>

#include "core/Exceptions.h"

class TErrorReport {
 public:
  // Shows the exception's message, or hands the exception to OnException when one is set.
  void Show(const std::exception& Error);
  // The message box's caption: the application's title.
  std::string Caption;
  // Tests record errors here instead of showing them.
  std::function<void(const std::exception&)> OnException;
};

TErrorReport& ErrorReport();

// Runs Action; whatever it throws goes to the error report instead of further up (through the
// platform's frames, where no exception may pass). Answers false when Action threw.
template <typename TAction>
bool ReportingErrors(TAction&& Action) {
  try {
    Action();
    return true;
  } catch (const std::exception& Error) {
    ErrorReport().Show(Error);
  } catch (...) {
    ErrorReport().Show(Exception("Unknown error"));
  }
  return false;
}
