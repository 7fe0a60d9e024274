#pragma once
// Results as text: the full path, the grid's six columns tab-separated as the window shows them, or
// the comma-separated values that "Export Results..." writes too.
#include <string>

#include "core/FileSystem.h"
#include "core/FormatSettings.h"
#include "find/FindOptions.h"

class TResultWriter {
 public:
  TResultWriter(TOutputFormat Format, bool NulEnds, char Delimiter, const TFormatSettings& Settings);
  // What comes before the first result: CSV's header line; nothing for the other forms.
  std::string Header() const;
  // Entry, found in Folder, in the chosen form, with its line end.
  void AppendResult(const std::string& Folder, const TFileEntry& Entry, std::string& Out) const;

 private:
  const TOutputFormat FFormat;
  const char FDelimiter;
  const char FEnd;  // after every path or long line (CSV ends its own lines)
  const TFormatSettings& FSettings;
};
