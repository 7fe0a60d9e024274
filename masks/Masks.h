#pragma once
// Wildcard masks of the "Named:" field: "*", "?", "[a-z]", "[!a-z]", "(abc)", "(!abc)", "!c" and "#c".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Exceptions.h"

// Raised when a mask text cannot be compiled; the message is always "Error".
class EMaskError : public Exception {
 public:
  EMaskError();
};

enum TMaskElementKind : std::uint8_t {
  mkLiteralRun,
  mkAnyRun,
  mkAnyCharacter,
  mkExcludedCharacter,
  mkEscapedCharacter,
  mkRange,
  mkExcludedRange,
  mkSet,
  mkExcludedSet,
  mkEnd,
};

// A compiled mask. Matching compares bytes exactly (callers lower-case mask and name and append "~" to
// both); a "character" is one UTF-8 sequence, so "?" takes "é" whole. The any-run search keeps the
// answers of plain backtracking (shortest skip first) but remembers every (slot, position) it has
// settled, so its cost is at most slots x name length.
class TMask {
 public:
  static constexpr int MaxSlots = 15;  // the end element included

  explicit TMask(std::string_view MaskText);

  // True when Text matches the elements from StartSlot (1-based) on. Never throws.
  bool MatchFrom(std::string_view Text, int StartSlot = 1) const;

  // The compiled table, for tests and diagnostics: slots 1..SlotCount(), the last one the end element.
  int SlotCount() const { return static_cast<int>(FKinds.size()); }
  TMaskElementKind Kind(int Slot) const { return FKinds.at(Slot - 1); }
  const std::string& Argument(int Slot) const { return FArguments.at(Slot - 1); }

 private:
  void Store(TMaskElementKind Kind, std::string Argument);
  bool Matches(int Slot, std::size_t Position) const;
  bool Step(int Slot, std::size_t& Position) const;

  std::vector<TMaskElementKind> FKinds;
  std::vector<std::string> FArguments;
  // Per-match working state: the tested text and the memo of settled (slot, position) answers.
  mutable std::string_view FText;
  mutable std::vector<std::uint8_t> FMemo;
};

// Length in bytes of the character that starts at Position (1 for a byte that is no valid UTF-8 lead).
std::size_t MaskCharLength(std::string_view Text, std::size_t Position);
