// A settings file ("kestrix.ini", "kestrixfolders.ini") of any bytes: read into lines, written back
// and read again, it gives the same lines.
#include <cstdint>
#include <string_view>

#include "core/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const auto Lines = SplitSettingsLines(std::string_view(reinterpret_cast<const char*>(Data), Size));
  if (SplitSettingsLines(JoinSettingsLines(Lines)) != Lines) __builtin_trap();
  return 0;
}
