#pragma once
// The program's exception classes. Every failure the user may see is one of these, carrying its text;
// functions say in their header which of them they throw.
#include <stdexcept>
#include <string>

// Base of the program's exceptions: a failure is an exception carrying the text shown to the user.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& Message) : std::runtime_error(Message) {}
  std::string Message() const { return what(); }
};

// A text that does not convert to the number, date or boolean asked for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A settings or data file that could not be read or written.
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// A program error: a service used before the program's entry handed it in.
class ELogicError : public Exception {
 public:
  using Exception::Exception;
};
