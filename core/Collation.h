#pragma once
// The order in which the user's locale sorts texts ignoring case, as a service the program's entry
// hands in (Windows: linguistic case folding). Until then, and on platforms without a locale of their
// own, texts sort in byte order with A to Z folded. Nothing here fails.
#include <string>
#include <string_view>

class TCollation {
 public:
  virtual ~TCollation() = default;
  // <0, 0 or >0.
  virtual int Compare(std::string_view A, std::string_view B) = 0;
  // A key whose byte order (memcmp, then length) is the order of Compare, equal exactly when the
  // texts compare equal.
  virtual std::string Key(std::string_view Text) = 0;
};

// Byte order with A to Z folded to lower case.
class TAsciiCollation : public TCollation {
 public:
  int Compare(std::string_view A, std::string_view B) override;
  std::string Key(std::string_view Text) override;
};

// The collation CompareTextCollated and CollationKey follow: the last one handed to SetCollation
// (which must outlive its use), else a TAsciiCollation.
TCollation& Collation();
void SetCollation(TCollation& Collation);
