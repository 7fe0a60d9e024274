#include "core/SettingsFile.h"

#include "core/Exceptions.h"
#include "core/Text.h"

std::vector<std::string> SplitSettingsLines(std::string_view Bytes) {
  const std::size_t Zero = Bytes.find('\0');
  if (Zero != std::string_view::npos) Bytes = Bytes.substr(0, Zero);
  const std::string Text = DecodeLegacyText(Bytes);
  std::vector<std::string> Lines;
  std::size_t Start = 0;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] != '\r' && Text[I] != '\n') continue;
    Lines.emplace_back(Text, Start, I - Start);
    if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
    Start = I + 1;
  }
  if (Start < Text.size()) Lines.emplace_back(Text, Start, std::string::npos);
  return Lines;
}

std::string JoinSettingsLines(const std::vector<std::string>& Lines) {
  std::size_t Size = 0;
  for (const std::string& Line : Lines) Size += Line.size() + 2;
  std::string Text;
  Text.reserve(Size);
  for (const std::string& Line : Lines) {
    Text += Line;
    Text += "\r\n";
  }
  return Text;
}

std::vector<std::string> ReadSettingsFile(const std::string& Path, TFileSystem& FileSystem) {
  std::string Bytes;
  if (!FileSystem.ReadFile(Path, std::string::npos, Bytes))
    throw EFileError("Cannot open file \"" + Path + "\". " + FileSystem.LastErrorText());
  return SplitSettingsLines(Bytes);
}

void WriteSettingsFile(const std::string& Path, const std::vector<std::string>& Lines, TFileSystem& FileSystem) {
  if (!FileSystem.WriteFileAtomically(Path, JoinSettingsLines(Lines)))
    throw EFileError("Cannot create file \"" + Path + "\". " + FileSystem.LastErrorText());
}
