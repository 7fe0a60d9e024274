// A cell of an HTML column with any text, read as the column paints it: runs of text and tags, each
// attribute value read as the painter reads it (a colour name or code, a size). Runs never hold a
// tag's opening bracket, and never more text than the cell has.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Conversions.h"
#include "core/Text.h"
#include "gridview/HtmlText.h"
#include "gridview/SharedCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::u16string Text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(Data), Size));
  std::size_t RunLength = 0;
  ReadHtmlText(
      Text,
      [&](std::u16string_view Run) {
        if (Run.empty() || Run.find(u'<') != std::u16string_view::npos) __builtin_trap();
        RunLength += Run.size();
      },
      [](const THtmlTag& Tag) {
        AsciiLowerCase(Utf16ToUtf8(Tag.Name));
        for (const auto& [Key, Value] : Tag.Attributes) {
          AsciiLowerCase(Utf16ToUtf8(Key));
          const std::string Setting = Utf16ToUtf8(Value);
          HtmlToColor(Setting);
          int Points = 0;
          TryStrToInt(Setting, Points);
        }
      });
  if (RunLength > Text.size()) __builtin_trap();
  return 0;
}
