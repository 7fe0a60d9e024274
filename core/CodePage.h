#pragma once
// The ANSI code page that files of older installs were written in, as a service the program's entry
// hands in (Windows: CP_ACP). Until then, and on platforms without one, it is Windows-1252.
// AnsiToUtf8 and Utf8ToAnsi (core/Text.h) go through it. Nothing here fails: a character without a
// place in the code page becomes '?' and is reported through Lossless.
#include <string>
#include <string_view>

class TCodePage {
 public:
  virtual ~TCodePage() = default;
  virtual std::string ToUtf8(std::string_view Ansi) = 0;
  // Lossless (when given) tells whether every character had a place in the code page.
  virtual std::string FromUtf8(std::string_view Utf8, bool* Lossless) = 0;
};

// Windows-1252; its five unassigned bytes stand for the C1 controls of the same value.
class TWindows1252CodePage : public TCodePage {
 public:
  std::string ToUtf8(std::string_view Ansi) override;
  std::string FromUtf8(std::string_view Utf8, bool* Lossless) override;
};

// The code page of AnsiToUtf8 and Utf8ToAnsi: the last one handed to SetCodePage (which must outlive
// its use), else Windows-1252.
TCodePage& CodePage();
void SetCodePage(TCodePage& CodePage);
