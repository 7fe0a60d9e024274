// A number format mask of a grid column with any value: the input is the value's eight bytes and the
// mask. Formatting never fails and never runs away.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size < sizeof(double)) return 0;
  double Value;
  std::memcpy(&Value, Data, sizeof Value);
  const std::string_view Mask(reinterpret_cast<const char*>(Data) + sizeof Value, Size - sizeof Value);
  const TFormatSettings Settings = UnitedStatesFormatSettings();
  if (FormatFloat(Mask, Value, Settings).size() > 4096 + 64 * Mask.size()) __builtin_trap();
  return 0;
}
