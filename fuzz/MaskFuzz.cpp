// The "Named:" mask with anything a user may type, against any name. The input is the mask text, a
// line feed, and the name. Compiling fails with EMaskError or not at all; matching never throws; a
// match answers as plain backtracking does (checked where backtracking itself ends in reasonable time).
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Text.h"
#include "masks/Masks.h"
#include "tests/masks/ReferenceMatcher.h"

namespace {

void Check(std::string_view MaskText, std::string_view Name) {
  std::unique_ptr<TMask> Mask;
  try {
    Mask = std::make_unique<TMask>(MaskText);
  } catch (const EMaskError&) {
    return;
  }
  for (int Slot = -1; Slot <= Mask->SlotCount() + 1; ++Slot) Mask->MatchFrom(Name, Slot);
  int AnyRuns = 0;
  for (int Slot = 1; Slot <= Mask->SlotCount(); ++Slot) AnyRuns += Mask->Kind(Slot) == mkAnyRun;
  if (std::pow(static_cast<double>(Name.size() + 1), AnyRuns) > 1e5) return;
  TReferenceMatcher Reference(*Mask);
  if (Reference.MatchFrom(Name, 1) != Mask->MatchFrom(Name, 1)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view Input(reinterpret_cast<const char*>(Data), Size);
  const std::size_t Split = Input.find('\n');
  const std::string_view MaskText = Input.substr(0, Split);
  const std::string_view Name = Split == std::string_view::npos ? std::string_view() : Input.substr(Split + 1);
  Check(MaskText, Name);
  // As the search builds and calls it: folded, the end mark appended to both.
  Check(MaskTextForSearch(MaskText), MaskTextForSearch(Name));
  return 0;
}
