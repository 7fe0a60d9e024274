#include "core/Collation.h"

#include "core/FormatSettings.h"
#include "core/Text.h"

namespace {
TCollation*& InstalledCollation() {
  static TAsciiCollation Ascii;
  static TCollation* Installed = &Ascii;
  return Installed;
}
}  // namespace

int TAsciiCollation::Compare(std::string_view A, std::string_view B) { return AsciiCompareText(A, B); }

std::string TAsciiCollation::Key(std::string_view Text) { return AsciiLowerCase(Text); }

TCollation& Collation() { return *InstalledCollation(); }

void SetCollation(TCollation& Collation) { InstalledCollation() = &Collation; }

int CompareTextCollated(std::string_view A, std::string_view B) { return Collation().Compare(A, B); }

std::string CollationKey(std::string_view Text) { return Collation().Key(Text); }
