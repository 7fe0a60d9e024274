#include "search/SearchCriteria.h"

std::string SearchNameText(const std::string& Typed) {
  return Typed.find_first_of("*?") == std::string::npos ? "*" + Typed + "*" : Typed;
}

bool ParseSizeLimit(const std::string& Text, std::uint64_t& Bytes) {
  const auto IsBlank = [](char C) { return C == ' ' || C == '\t'; };
  std::size_t First = 0, End = Text.size();
  while (First < End && IsBlank(Text[First])) ++First;
  while (End > First && IsBlank(Text[End - 1])) --End;
  if (First < End && Text[First] == '+') ++First;
  if (First >= End) return false;
  bool TooLarge = false;
  std::uint64_t Kilobytes = 0;
  for (std::size_t I = First; I < End; ++I) {
    if (Text[I] < '0' || Text[I] > '9') return false;
    const unsigned Digit = static_cast<unsigned>(Text[I] - '0');
    TooLarge = TooLarge || Kilobytes > (UINT64_MAX - Digit) / 10;
    Kilobytes = Kilobytes * 10 + Digit;
  }
  // Past what 64 bits hold, the limit is larger than any file can be.
  Bytes = TooLarge || Kilobytes > UINT64_MAX / 1024 ? UINT64_MAX : Kilobytes * 1024;
  return true;
}

void ApplySizeField(TSearchCriteria& Criteria, const std::string& Text, bool AtLeast) {
  std::uint64_t Bytes = 0;
  if (!ParseSizeLimit(Text, Bytes)) return;  // not a number: no limit
  (AtLeast ? Criteria.MinimumSize : Criteria.MaximumSize) = Bytes;
}
