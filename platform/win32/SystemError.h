#pragma once
// The system's own words for an error code, for messages.
#include <string>

// FormatMessage's text for Error without its closing line break; "System error N" when it has none.
std::string SystemErrorText(unsigned long Error);
