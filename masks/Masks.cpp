#include "masks/Masks.h"

#include <algorithm>
#include <cstring>

#include "core/CaseFold.h"

namespace {

bool IsSpecial(char C) { return C == '!' || C == '#' || C == '(' || C == '*' || C == '?' || C == '['; }

// Code point of the character at Position spanning Length bytes (the byte itself for a stray byte).
std::uint32_t CharValue(std::string_view Text, std::size_t Position, std::size_t Length) {
  const auto Byte = [&](std::size_t I) { return static_cast<unsigned char>(Text[Position + I]); };
  switch (Length) {
    case 2: return ((Byte(0) & 0x1Fu) << 6) | (Byte(1) & 0x3Fu);
    case 3: return ((Byte(0) & 0x0Fu) << 12) | ((Byte(1) & 0x3Fu) << 6) | (Byte(2) & 0x3Fu);
    case 4: return ((Byte(0) & 0x07u) << 18) | ((Byte(1) & 0x3Fu) << 12) | ((Byte(2) & 0x3Fu) << 6) | (Byte(3) & 0x3Fu);
    default: return Byte(0);
  }
}

// The characters of Text, each as its own byte sequence.
std::vector<std::string_view> SplitCharacters(std::string_view Text) {
  std::vector<std::string_view> Characters;
  for (std::size_t I = 0; I < Text.size();) {
    const std::size_t Length = MaskCharLength(Text, I);
    Characters.push_back(Text.substr(I, Length));
    I += Length;
  }
  return Characters;
}

bool SetContains(std::string_view Set, std::string_view Character) {
  for (std::size_t I = 0; I < Set.size();) {
    const std::size_t Length = MaskCharLength(Set, I);
    if (Set.substr(I, Length) == Character) return true;
    I += Length;
  }
  return false;
}

// Literal runs up to this length are compared at each position; longer ones are sought with their
// border table, so that a run never costs more than a constant per character of the name.
constexpr std::size_t ShortRun = 16;

// Border table of Pattern for the substring search: Borders[i] is the length of the longest proper
// prefix of Pattern[0..i] that is also its suffix.
std::vector<std::uint32_t> BordersOf(std::string_view Pattern) {
  std::vector<std::uint32_t> Borders(Pattern.size(), 0);
  std::uint32_t Length = 0;
  for (std::size_t I = 1; I < Pattern.size(); ++I) {
    while (Length > 0 && Pattern[I] != Pattern[Length]) Length = Borders[Length - 1];
    if (Pattern[I] == Pattern[Length]) ++Length;
    Borders[I] = Length;
  }
  return Borders;
}

}  // namespace

EMaskError::EMaskError(TMaskProblem Problem, std::size_t Position, char Special)
    : Exception("Error"), FProblem(Problem), FPosition(Position), FSpecial(Special) {}

namespace {

// The number, counted from 1, of the character that starts at byte Offset of Text.
std::size_t CharacterNumber(std::string_view Text, std::size_t Offset) {
  std::size_t Number = 1;
  for (std::size_t I = 0; I < Offset && I < Text.size(); I += MaskCharLength(Text, I)) ++Number;
  return Number;
}

[[noreturn]] void Malformed(TMaskProblem Problem, std::string_view Text, std::size_t Offset) {
  throw EMaskError(Problem, CharacterNumber(Text, Offset), Offset < Text.size() ? Text[Offset] : '\0');
}

}  // namespace

std::string MaskErrorText(std::string_view MaskText, const EMaskError& Error) {
  const std::string Special(1, Error.Special());
  const std::string Where = "the \"" + Special + "\" at character " + std::to_string(Error.Position());
  std::string Why;
  switch (Error.Problem()) {
    case mpNoOperand: Why = Where + " needs a character after it"; break;
    case mpUnclosedRange: Why = Where + " has no \"]\" after it"; break;
    case mpBadRange: Why = Where + " needs a range such as [a-z] or [!a-z] before its \"]\""; break;
    case mpUnclosedSet: Why = Where + " has no \")\" after it"; break;
    case mpTooManyParts:
      Why = "it has more than " + std::to_string(TMask::MaxSlots - 1) +
            " parts (each run of plain characters, *, ?, !c, #c, range and set is one); the one at character " +
            std::to_string(Error.Position()) + " is too many";
      break;
  }
  std::string Text = "The name mask \"" + std::string(MaskText) + "\" cannot be used: " + Why + ".";
  if (Error.Problem() != mpTooManyParts)
    Text += " To find \"" + Special + "\" itself in names, write #" + Special + ".";
  return Text;
}

std::string MaskTextForSearch(std::string_view Text) {
  std::string Result;
  NameForMask(Text, Result);
  return Result;
}

void NameForMask(std::string_view Name, std::string& Out) {
  FoldText(Name, Out);
  Out += MaskEndMark;
}

std::size_t MaskCharLength(std::string_view Text, std::size_t Position) {
  const auto Lead = static_cast<unsigned char>(Text[Position]);
  std::size_t Length = 1;
  if (Lead >= 0xC2 && Lead <= 0xDF) {
    Length = 2;
  } else if (Lead >= 0xE0 && Lead <= 0xEF) {
    Length = 3;
  } else if (Lead >= 0xF0 && Lead <= 0xF4) {
    Length = 4;
  }
  if (Length == 1 || Position + Length > Text.size()) return 1;
  for (std::size_t I = 1; I < Length; ++I)
    if ((static_cast<unsigned char>(Text[Position + I]) & 0xC0) != 0x80) return 1;
  return Length;
}

void TMask::Store(TMaskElementKind Kind, std::string Argument, std::string_view MaskText, std::size_t Start) {
  // The last slot is the end element's: an element that would take it is one too many.
  if (FKinds.size() + (Kind == mkEnd ? 0 : 1) >= MaxSlots) Malformed(mpTooManyParts, MaskText, Start);
  FKinds.push_back(Kind);
  FBorders.push_back(Kind == mkLiteralRun ? BordersOf(Argument) : std::vector<std::uint32_t>());
  FArguments.push_back(std::move(Argument));
}

TMask::TMask(std::string_view MaskText) {
  const std::size_t Size = MaskText.size();
  std::size_t Position = 0;
  while (Position < Size) {
    const std::size_t Start = Position;
    while (Position < Size && !IsSpecial(MaskText[Position])) ++Position;
    if (Position > Start) Store(mkLiteralRun, std::string(MaskText.substr(Start, Position - Start)), MaskText, Start);
    if (Position >= Size) break;
    const char Special = MaskText[Position];
    const std::size_t At = Position;
    if (Special == '*') {
      Store(mkAnyRun, "*", MaskText, At);
      ++Position;
    } else if (Special == '?') {
      Store(mkAnyCharacter, "?", MaskText, At);
      ++Position;
    } else if (Special == '!' || Special == '#') {
      if (Position + 1 >= Size) Malformed(mpNoOperand, MaskText, At);
      const std::size_t Length = MaskCharLength(MaskText, Position + 1);
      Store(Special == '!' ? mkExcludedCharacter : mkEscapedCharacter,
            std::string(MaskText.substr(Position + 1, Length)), MaskText, At);
      Position += 1 + Length;
    } else if (Special == '[') {
      const std::size_t Close = MaskText.find(']', Position + 1);
      if (Close == std::string_view::npos) Malformed(mpUnclosedRange, MaskText, At);
      const auto Group = SplitCharacters(MaskText.substr(Position + 1, Close - Position - 1));
      // lo "-" hi must all lie inside the brackets; anything between hi and "]" is ignored.
      const bool Excluded = !Group.empty() && Group[0] == "!";
      const std::size_t Lo = Excluded ? 1 : 0;
      if (Group.size() < Lo + 3 || Group[Lo + 1] != "-") Malformed(mpBadRange, MaskText, At);
      Store(Excluded ? mkExcludedRange : mkRange, std::string(Group[Lo]) + std::string(Group[Lo + 2]), MaskText, At);
      Position = Close + 1;
    } else {  // '('
      const std::size_t Close = MaskText.find(')', Position + 1);
      if (Close == std::string_view::npos) Malformed(mpUnclosedSet, MaskText, At);
      std::string_view Members = MaskText.substr(Position + 1, Close - Position - 1);
      const bool Excluded = !Members.empty() && Members[0] == '!';
      if (Excluded) Members.remove_prefix(1);
      Store(Excluded ? mkExcludedSet : mkSet, std::string(Members), MaskText, At);
      Position = Close + 1;
    }
  }
  Store(mkEnd, std::string());
  // What each single-character element answers for each one-byte character, so that matching
  // decodes and compares only for the longer ones.
  FByteAccepts.assign(FKinds.size() * 256, 0);
  for (int Slot = 0; Slot < SlotCount(); ++Slot)
    FillByteAnswers(Slot, &FByteAccepts[static_cast<std::size_t>(Slot) * 256]);
}

void TMask::FillByteAnswers(int Slot, std::uint8_t* Answers) const {
  const std::string& Argument = FArguments[Slot];
  const TMaskElementKind Kind = FKinds[Slot];
  const auto Members = [&](std::uint8_t Member, std::uint8_t Other) {
    std::fill(Answers, Answers + 256, Other);
    for (std::size_t I = 0; I < Argument.size(); I += MaskCharLength(Argument, I))
      if (MaskCharLength(Argument, I) == 1) Answers[static_cast<unsigned char>(Argument[I])] = Member;
  };
  switch (Kind) {
    case mkAnyCharacter: std::fill(Answers, Answers + 256, 1); break;
    case mkEscapedCharacter:
    case mkSet: Members(1, 0); break;
    case mkExcludedCharacter:
    case mkExcludedSet: Members(0, 1); break;
    case mkRange:
    case mkExcludedRange: {
      const std::size_t LoLength = MaskCharLength(Argument, 0);
      const std::uint32_t Lo = CharValue(Argument, 0, LoLength);
      const std::uint32_t Hi = CharValue(Argument, LoLength, Argument.size() - LoLength);
      for (std::uint32_t Byte = 0; Byte < 256; ++Byte) Answers[Byte] = (Lo <= Byte && Byte <= Hi) == (Kind == mkRange);
      break;
    }
    default: break;
  }
}

bool TMask::MatchFrom(std::string_view Text, int StartSlot) const {
  if (StartSlot < 1 || StartSlot > SlotCount()) return false;
  try {
    return Settle(Text, StartSlot);
  } catch (...) {
    return false;  // no memory for the rows of a huge name
  }
}

// FLater holds, for every position 0..size of Text, whether the slots after the current one match
// from there; each slot, from the last to StartSlot, turns it into its own row. A row without a
// single success settles the whole match: no slot before it can succeed anywhere either.
bool TMask::Settle(std::string_view Text, int StartSlot) const {
  const std::size_t Size = Text.size();
  FLengths.resize(Size);
  FSingleBytes = true;
  for (std::size_t I = 0; I < Size; ++I) {
    FLengths[I] = static_cast<unsigned char>(Text[I]) < 0x80 ? 1 : static_cast<std::uint8_t>(MaskCharLength(Text, I));
    FSingleBytes = FSingleBytes && FLengths[I] == 1;
  }
  FLater.assign(Size + 1, 1);  // the end element succeeds whatever text remains
  FRow.resize(Size + 1);
  for (int Slot = SlotCount() - 2; Slot >= StartSlot - 1; --Slot) {
    bool Any;
    switch (FKinds[Slot]) {
      case mkAnyRun: Any = SettleAnyRun(Size); break;
      case mkLiteralRun: Any = SettleLiteralRun(Slot, Text); break;
      default: Any = SettleCharacter(Slot, Text); break;
    }
    if (!Any) return false;
    FLater.swap(FRow);
  }
  return FLater[0] != 0;
}

// The remaining text and each shorter suffix down to its last character (the empty suffix only when
// nothing remains): the run matches at a position when the rest matches at it or at a later
// character start reached from it.
bool TMask::SettleAnyRun(std::size_t Size) const {
  std::uint8_t* Row = FRow.data();
  const std::uint8_t* Later = FLater.data();
  if (FSingleBytes) {
    // Every position is a character start: the run matches up to the last position where the rest does.
    std::size_t Last = Size;
    while (Last > 0 && !Later[Last - 1]) --Last;
    std::fill(Row, Row + Last, 1);
    std::fill(Row + Last, Row + Size, 0);
  } else {
    Row[Size] = 0;  // a candidate never starts at the end, unless nothing remains (below)
    for (std::size_t Position = Size; Position-- > 0;)
      Row[Position] = Later[Position] | Row[Position + FLengths[Position]];
  }
  Row[Size] = Later[Size];
  return true;  // every success of the later row is one of this row too
}

// The run matches where it occurs and the rest matches right after it: every occurrence is found in
// one pass over the text.
bool TMask::SettleLiteralRun(int Slot, std::string_view Text) const {
  const std::string& Run = FArguments[Slot];
  const std::size_t Length = Run.size();
  const std::uint8_t* Later = FLater.data();
  std::uint8_t* Row = FRow.data();
  std::fill(FRow.begin(), FRow.end(), 0);
  std::uint8_t Any = 0;
  if (Length > Text.size()) return false;
  if (Length <= ShortRun) {
    // Short runs are compared in place, where the rest matches after them.
    for (std::size_t Position = 0; Position + Length <= Text.size(); ++Position) {
      std::uint8_t Ok = Later[Position + Length] & static_cast<std::uint8_t>(Text[Position] == Run[0]);
      if (Ok && Length > 1) Ok = std::memcmp(Text.data() + Position + 1, Run.data() + 1, Length - 1) == 0;
      Row[Position] = Ok;
      Any |= Ok;
    }
    return Any != 0;
  }
  const std::vector<std::uint32_t>& Borders = FBorders[Slot];
  std::size_t Matched = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    while (Matched > 0 && Text[I] != Run[Matched]) Matched = Borders[Matched - 1];
    if (Text[I] == Run[Matched]) ++Matched;
    if (Matched == Length) {
      Row[I + 1 - Length] = Later[I + 1];
      Any |= Later[I + 1];
      Matched = Borders[Matched - 1];
    }
  }
  return Any != 0;
}

bool TMask::SettleCharacter(int Slot, std::string_view Text) const {
  const std::size_t Size = Text.size();
  const std::uint8_t* Table = &FByteAccepts[static_cast<std::size_t>(Slot) * 256];
  const std::uint8_t* Later = FLater.data();
  std::uint8_t* Row = FRow.data();
  // "?" on an empty remaining text leaves it empty and goes on; the other kinds fail there.
  std::uint8_t Any = Row[Size] = FKinds[Slot] == mkAnyCharacter && Later[Size];
  if (FSingleBytes) {
    for (std::size_t Position = 0; Position < Size; ++Position) {
      Row[Position] = Later[Position + 1] & Table[static_cast<unsigned char>(Text[Position])];
      Any |= Row[Position];
    }
    return Any != 0;
  }
  for (std::size_t Position = 0; Position < Size; ++Position) {
    const std::size_t Length = FLengths[Position];
    std::uint8_t Ok = Later[Position + Length];
    if (Ok) {
      Ok = Length == 1 ? Table[static_cast<unsigned char>(Text[Position])]
                       : Accepts(Slot, Text.substr(Position, Length));
    }
    Row[Position] = Ok;
    Any |= Ok;
  }
  return Any != 0;
}

// Whether the single-character element of Slot accepts Current, one character.
bool TMask::Accepts(int Slot, std::string_view Current) const {
  const std::string& Argument = FArguments[Slot];
  switch (FKinds[Slot]) {
    case mkAnyCharacter: return true;
    case mkExcludedCharacter: return Current != Argument;
    case mkEscapedCharacter: return Current == Argument;
    case mkRange:
    case mkExcludedRange: {
      const std::size_t LoLength = MaskCharLength(Argument, 0);
      const std::uint32_t Lo = CharValue(Argument, 0, LoLength);
      const std::uint32_t Hi = CharValue(Argument, LoLength, Argument.size() - LoLength);
      const std::uint32_t Value = CharValue(Current, 0, Current.size());
      const bool Inside = Lo <= Value && Value <= Hi;
      return FKinds[Slot] == mkRange ? Inside : !Inside;
    }
    case mkSet: return SetContains(Argument, Current);
    case mkExcludedSet: return !SetContains(Argument, Current);
    default: return false;
  }
}
