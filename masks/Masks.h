#pragma once
// Wildcard masks of the "Named:" field: "*", "?", "[a-z]", "[!a-z]", "(abc)", "(!abc)", "!c" and "#c".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Exceptions.h"

// What makes a mask text impossible to compile.
enum TMaskProblem : std::uint8_t {
  mpNoOperand,      // "!" or "#" as the last character
  mpUnclosedRange,  // "[" without a later "]"
  mpBadRange,       // a bracket group that is no "lo-hi" or "!lo-hi"
  mpUnclosedSet,    // "(" without a later ")"
  mpTooManyParts,   // more elements than the table holds
};

// Raised when a mask text cannot be compiled. Its message is always "Error"; Problem says what is
// wrong and Position where: the character (counted from 1) that starts the faulty part.
class EMaskError : public Exception {
 public:
  EMaskError(TMaskProblem Problem = mpTooManyParts, std::size_t Position = 0, char Special = 0);
  TMaskProblem Problem() const { return FProblem; }
  std::size_t Position() const { return FPosition; }
  char Special() const { return FSpecial; }  // the special character at Position ("!", "#", "[" or "(")

 private:
  TMaskProblem FProblem;
  std::size_t FPosition;
  char FSpecial;
};

// What a user is told of a mask that cannot be used: the mask as shown (MaskText), what is wrong and
// where, and how to write that special character literally.
std::string MaskErrorText(std::string_view MaskText, const EMaskError& Error);

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

// The end mark that ties the end of a mask to the end of a name: the search appends it to both. No file
// name holds a "/" (Windows and POSIX both forbid it), so a name's own "~" never ends a mask early,
// while a mask's trailing "!" or "#" still takes the mark as its operand ("*abc!" needs one more
// character after "abc").
inline constexpr char MaskEndMark = '/';
// A mask text or a name as the search compares them: case folded (FoldText: every letter to the
// lower-case member of its pair, as Windows compares names), the end mark appended. A range compares
// folded characters, so "[A-C]" means "[a-c]" and takes "B", as it always has.
std::string MaskTextForSearch(std::string_view Text);
// The same into Out, whose storage is reused (the walk tests every name it meets).
void NameForMask(std::string_view Name, std::string& Out);

// A compiled mask. Matching compares bytes exactly (callers fold mask and name and append
// MaskEndMark to both); a "character" is one UTF-8 sequence, so "?" takes "é" whole. The answers are those of plain
// backtracking (shortest skip first, first success wins), but a match is settled slot by slot from
// the last one: for every position of the name, whether the elements from that slot on match there.
// An any run needs one pass from the end of the name for that, a literal run one substring search,
// so a match costs at most slots x name length whatever the mask.
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
  // Stores an element that starts at byte Start of the mask text (for the error of one too many).
  void Store(TMaskElementKind Kind, std::string Argument, std::string_view MaskText = {}, std::size_t Start = 0);
  bool Settle(std::string_view Text, int StartSlot) const;
  // Each turns FLater (the row of the slot after Slot) into the row of Slot, in FRow; false when the
  // new row has no success at all.
  bool SettleAnyRun(std::size_t Size) const;
  bool SettleLiteralRun(int Slot, std::string_view Text) const;
  bool SettleCharacter(int Slot, std::string_view Text) const;
  bool Accepts(int Slot, std::string_view Current) const;
  void FillByteAnswers(int Slot, std::uint8_t* Answers) const;

  std::vector<TMaskElementKind> FKinds;
  std::vector<std::string> FArguments;
  // Per literal run: the longest proper border of each prefix of its argument (substring search).
  std::vector<std::vector<std::uint32_t>> FBorders;
  // Per slot, 256 answers: whether its element accepts each one-byte character.
  std::vector<std::uint8_t> FByteAccepts;
  // Per-match working state, reused so that a match allocates nothing once the rows are large
  // enough: the length of the character at each position, and the rows of two adjacent slots.
  mutable std::vector<std::uint8_t> FLengths;
  mutable bool FSingleBytes = true;  // every character of the name is one byte
  mutable std::vector<std::uint8_t> FRow;
  mutable std::vector<std::uint8_t> FLater;
};

// Length in bytes of the character that starts at Position (1 for a byte that is no valid UTF-8 lead).
std::size_t MaskCharLength(std::string_view Text, std::size_t Position);
