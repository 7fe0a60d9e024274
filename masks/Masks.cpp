#include "masks/Masks.h"

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

// Memo cells: not yet settled, settled false, settled true.
enum : std::uint8_t { msUnknown = 0, msFalse = 1, msTrue = 2 };

}  // namespace

EMaskError::EMaskError() : Exception("Error") {}

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

void TMask::Store(TMaskElementKind Kind, std::string Argument) {
  if (FKinds.size() >= MaxSlots) throw EMaskError();
  FKinds.push_back(Kind);
  FArguments.push_back(std::move(Argument));
}

TMask::TMask(std::string_view MaskText) {
  const std::size_t Size = MaskText.size();
  std::size_t Position = 0;
  while (Position < Size) {
    const std::size_t Start = Position;
    while (Position < Size && !IsSpecial(MaskText[Position])) ++Position;
    if (Position > Start) Store(mkLiteralRun, std::string(MaskText.substr(Start, Position - Start)));
    if (Position >= Size) break;
    const char Special = MaskText[Position];
    if (Special == '*') {
      Store(mkAnyRun, "*");
      ++Position;
    } else if (Special == '?') {
      Store(mkAnyCharacter, "?");
      ++Position;
    } else if (Special == '!' || Special == '#') {
      if (Position + 1 >= Size) throw EMaskError();
      const std::size_t Length = MaskCharLength(MaskText, Position + 1);
      Store(Special == '!' ? mkExcludedCharacter : mkEscapedCharacter,
            std::string(MaskText.substr(Position + 1, Length)));
      Position += 1 + Length;
    } else if (Special == '[') {
      const std::size_t Close = MaskText.find(']', Position + 1);
      if (Close == std::string_view::npos) throw EMaskError();
      const auto Group = SplitCharacters(MaskText.substr(Position + 1, Close - Position - 1));
      // lo "-" hi must all lie inside the brackets; anything between hi and "]" is ignored.
      const bool Excluded = !Group.empty() && Group[0] == "!";
      const std::size_t Lo = Excluded ? 1 : 0;
      if (Group.size() < Lo + 3 || Group[Lo + 1] != "-") throw EMaskError();
      Store(Excluded ? mkExcludedRange : mkRange, std::string(Group[Lo]) + std::string(Group[Lo + 2]));
      Position = Close + 1;
    } else {  // '('
      const std::size_t Close = MaskText.find(')', Position + 1);
      if (Close == std::string_view::npos) throw EMaskError();
      std::string_view Members = MaskText.substr(Position + 1, Close - Position - 1);
      const bool Excluded = !Members.empty() && Members[0] == '!';
      if (Excluded) Members.remove_prefix(1);
      Store(Excluded ? mkExcludedSet : mkSet, std::string(Members));
      Position = Close + 1;
    }
  }
  Store(mkEnd, std::string());
}

bool TMask::MatchFrom(std::string_view Text, int StartSlot) const {
  if (StartSlot < 1 || StartSlot > SlotCount()) return false;
  FText = Text;
  FMemo.assign(FKinds.size() * (Text.size() + 1), msUnknown);
  return Matches(StartSlot - 1, 0);
}

// Runs the steps from Slot (0-based) with the remaining text starting at Position.
bool TMask::Matches(int Slot, std::size_t Position) const {
  for (;; ++Slot) {
    const TMaskElementKind Kind = FKinds[Slot];
    if (Kind == mkEnd) return true;
    if (Kind != mkAnyRun) {
      if (!Step(Slot, Position)) return false;
      continue;
    }
    // Any run: the remaining text and each shorter suffix down to its last character (the empty
    // suffix only when nothing remains); the first candidate that lets the rest match wins.
    std::uint8_t& Memo = FMemo[static_cast<std::size_t>(Slot) * (FText.size() + 1) + Position];
    if (Memo != msUnknown) return Memo == msTrue;
    bool Found = false;
    if (Position >= FText.size()) {
      Found = Matches(Slot + 1, FText.size());
    } else {
      for (std::size_t Candidate = Position; Candidate < FText.size() && !Found;
           Candidate += MaskCharLength(FText, Candidate))
        Found = Matches(Slot + 1, Candidate);
    }
    Memo = Found ? msTrue : msFalse;
    return Found;
  }
}

// One single-step element; advances Position over what it consumes. False is the step's fail.
bool TMask::Step(int Slot, std::size_t& Position) const {
  const std::string& Argument = FArguments[Slot];
  const std::size_t Left = FText.size() - Position;
  if (FKinds[Slot] == mkLiteralRun) {
    if (Left < Argument.size() || FText.compare(Position, Argument.size(), Argument) != 0) return false;
    Position += Argument.size();
    return true;
  }
  if (Left == 0) return FKinds[Slot] == mkAnyCharacter;  // "?" leaves an empty text empty
  const std::size_t Length = MaskCharLength(FText, Position);
  const std::string_view Current = FText.substr(Position, Length);
  bool Accepted = false;
  switch (FKinds[Slot]) {
    case mkAnyCharacter: Accepted = true; break;
    case mkExcludedCharacter: Accepted = Current != Argument; break;
    case mkEscapedCharacter: Accepted = Current == Argument; break;
    case mkRange:
    case mkExcludedRange: {
      const std::size_t LoLength = MaskCharLength(Argument, 0);
      const std::uint32_t Lo = CharValue(Argument, 0, LoLength);
      const std::uint32_t Hi = CharValue(Argument, LoLength, Argument.size() - LoLength);
      const std::uint32_t Value = CharValue(FText, Position, Length);
      const bool Inside = Lo <= Value && Value <= Hi;
      Accepted = FKinds[Slot] == mkRange ? Inside : !Inside;
      break;
    }
    case mkSet: Accepted = SetContains(Argument, Current); break;
    case mkExcludedSet: Accepted = !SetContains(Argument, Current); break;
    default: break;
  }
  if (Accepted) Position += Length;
  return Accepted;
}
