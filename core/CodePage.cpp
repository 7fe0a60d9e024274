#include "core/CodePage.h"

#include "core/Text.h"

namespace {
// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned bytes, kept as the C1 controls.
const char16_t HighTable[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t AnsiChar(unsigned char Byte) {
  if (Byte >= 0x80 && Byte < 0xA0) return HighTable[Byte - 0x80] ? HighTable[Byte - 0x80] : char16_t(Byte);
  return Byte;
}

TCodePage*& InstalledCodePage() {
  static TWindows1252CodePage Windows1252;
  static TCodePage* Installed = &Windows1252;
  return Installed;
}
}  // namespace

std::string TWindows1252CodePage::ToUtf8(std::string_view Ansi) {
  std::u16string Wide;
  Wide.reserve(Ansi.size());
  for (char C : Ansi) Wide += AnsiChar(static_cast<unsigned char>(C));
  return Utf16ToUtf8(Wide);
}

std::string TWindows1252CodePage::FromUtf8(std::string_view Utf8, bool* Lossless) {
  const std::u16string Wide = Utf8ToUtf16(Utf8);
  std::string Result;
  Result.reserve(Wide.size());
  bool AllFound = true;
  for (char16_t C : Wide) {
    bool Found = false;
    for (int Byte = 0; Byte < 256 && !Found; ++Byte) {
      if (AnsiChar(static_cast<unsigned char>(Byte)) == C) {
        Result += char(Byte);
        Found = true;
      }
    }
    if (!Found) {
      Result += '?';
      AllFound = false;
    }
  }
  if (Lossless) *Lossless = AllFound;
  return Result;
}

TCodePage& CodePage() { return *InstalledCodePage(); }

void SetCodePage(TCodePage& CodePage) { InstalledCodePage() = &CodePage; }

std::string AnsiToUtf8(std::string_view Ansi) { return CodePage().ToUtf8(Ansi); }

std::string Utf8ToAnsi(std::string_view Utf8, bool* Lossless) { return CodePage().FromUtf8(Utf8, Lossless); }
