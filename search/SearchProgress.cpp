#include "search/SearchProgress.h"

#include <cmath>

#include "core/Text.h"

std::string FormatThousands(std::uint64_t Value, const TFormatSettings& Settings) {
  return GroupDigits(Value, Settings.ThousandSeparator);
}

std::string SearchedText(std::uint64_t EntriesSeen, std::uint64_t FoldersSeen, const TFormatSettings& Settings) {
  return "Searched " + FormatThousands(EntriesSeen, Settings) + " files, " + FormatThousands(FoldersSeen, Settings) +
         " folders";
}

std::string FoundText(std::uint64_t Results, const TFormatSettings& Settings) {
  return "Found " + FormatThousands(Results, Settings) + " files";
}

std::string CheckedText(std::uint64_t Checked, std::uint64_t Candidates, const TFormatSettings& Settings) {
  return "Checked " + FormatThousands(Checked, Settings) + " of " + FormatThousands(Candidates, Settings) +
         " cached files";
}

std::string SearchingFolderText(std::string_view Folder) {
  std::string Text = "Searching ";
  Text.append(Folder).append("...");
  return Text;
}

std::string OutcomeText(const TSearchOutcome& Outcome, const TFormatSettings& Settings) {
  if (Outcome.LargeFilesSkipped) return LargeFilesText;
  if (!Outcome.TotalKnown) return std::string();
  const double Kilobytes = static_cast<double>(Outcome.TotalBytes) / 1024.0;
  return FormatThousands(static_cast<std::uint64_t>(std::floor(Kilobytes + 0.5)), Settings) + "KB";
}
