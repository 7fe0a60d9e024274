#include "app/Histories.h"

#include <algorithm>

#include "core/FormatSettings.h"
#include "core/SettingsFile.h"

std::vector<std::string> UpdateHistory(const std::string& Path, const std::string& Text, TFileSystem& FileSystem) {
  std::vector<std::string> Entries;
  if (Text == ClearHistoryText) {
    WriteSettingsFile(Path, Entries, FileSystem);
  } else {
    if (FileSystem.FileExists(Path)) Entries = ReadSettingsFile(Path, FileSystem);
    if (!Text.empty()) {
      const bool Known = std::any_of(Entries.begin(), Entries.end(),
                                     [&](const std::string& Entry) { return CompareTextCollated(Entry, Text) == 0; });
      if (!Known) Entries.push_back(Text);
      WriteSettingsFile(Path, Entries, FileSystem);
    }
    std::stable_sort(Entries.begin(), Entries.end(),
                     [](const std::string& A, const std::string& B) { return CompareTextCollated(A, B) < 0; });
  }
  if (!Entries.empty()) Entries.push_back(ClearHistoryText);
  return Entries;
}
