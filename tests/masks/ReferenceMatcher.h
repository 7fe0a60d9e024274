#pragma once
// The mask matcher as described, step by step: plain backtracking over the compiled table with no
// memo, exponential in the worst case. The reference the real matcher must agree with (tests, fuzzing).
#include <string>
#include <string_view>

#include "core/Text.h"
#include "masks/Masks.h"

class TReferenceMatcher {
 public:
  explicit TReferenceMatcher(const TMask& Mask) : FMask(Mask) {}

  bool MatchFrom(std::string_view Text, int Slot) {
    FRemaining = Text;
    int Result = Step(Slot);
    if (Result == 0 && FMask.Kind(Slot) == mkAnyRun) Result = 2;
    while (Result == 0) {
      ++Slot;
      Result = Step(Slot);
      if (Result == 0 && FMask.Kind(Slot) == mkAnyRun) Result = 2;
    }
    return Result == 2;
  }

 private:
  std::string_view Current() const {
    return FRemaining.empty() ? std::string_view() : FRemaining.substr(0, MaskCharLength(FRemaining, 0));
  }
  static std::uint32_t Value(std::string_view C) {
    const std::u16string Wide = Utf8ToUtf16(C);
    if (C.size() == 1) return static_cast<unsigned char>(C[0]);
    if (Wide.size() == 2) return 0x10000 + ((Wide[0] - 0xD800u) << 10) + (Wide[1] - 0xDC00u);
    return Wide[0];
  }
  static bool InSet(std::string_view Set, std::string_view C) {
    for (std::size_t I = 0; I < Set.size(); I += MaskCharLength(Set, I))
      if (Set.substr(I, MaskCharLength(Set, I)) == C) return true;
    return false;
  }
  // 0 continue, 1 fail, 2 success.
  int Step(int Slot) {
    const std::string& Argument = FMask.Argument(Slot);
    const std::string_view C = Current();
    const auto Consume = [&](bool Ok) {
      if (!Ok || C.empty()) return 1;
      FRemaining.remove_prefix(C.size());
      return 0;
    };
    switch (FMask.Kind(Slot)) {
      case mkEnd: return 2;
      case mkLiteralRun:
        if (FRemaining.substr(0, Argument.size()) != Argument) return 1;
        FRemaining.remove_prefix(Argument.size());
        return 0;
      case mkAnyCharacter: FRemaining.remove_prefix(C.size()); return 0;
      case mkExcludedCharacter: return Consume(C != Argument);
      case mkEscapedCharacter: return Consume(C == Argument);
      case mkRange:
      case mkExcludedRange: {
        if (C.empty()) return 1;
        const std::size_t LoLength = MaskCharLength(Argument, 0);
        const std::uint32_t V = Value(C), Lo = Value(std::string_view(Argument).substr(0, LoLength)),
                            Hi = Value(std::string_view(Argument).substr(LoLength));
        const bool Inside = Lo <= V && V <= Hi;
        return Consume(FMask.Kind(Slot) == mkRange ? Inside : !Inside);
      }
      case mkSet: return Consume(InSet(Argument, C));
      case mkExcludedSet: return Consume(!InSet(Argument, C));
      case mkAnyRun: {
        const std::string_view Remaining = FRemaining;
        std::size_t Attempts = 0;
        std::size_t Start = 0;
        do {
          const std::string_view Candidate = Remaining.substr(Start);
          TReferenceMatcher Inner(FMask);
          if (Inner.MatchFrom(Candidate, Slot + 1)) {
            FRemaining = Candidate;
            return 0;
          }
          if (Start < Remaining.size()) Start += MaskCharLength(Remaining, Start);
          ++Attempts;
        } while (Start < Remaining.size());
        (void)Attempts;
        return 1;
      }
    }
    return 1;
  }

  const TMask& FMask;
  std::string_view FRemaining;
};
