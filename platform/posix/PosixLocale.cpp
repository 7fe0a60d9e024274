// Locale services without a Windows locale: United States settings, A-to-Z folded byte order, and the
// Windows-1252 code page as the ANSI code page.
#include "platform/Platform.h"

TFormatSettings ReadPlatformFormatSettings() { return UnitedStatesFormatSettings(); }

TCollation& PlatformCollation() {
  static TAsciiCollation Collation;
  return Collation;
}

TCodePage& PlatformCodePage() {
  static TWindows1252CodePage CodePage;
  return CodePage;
}
