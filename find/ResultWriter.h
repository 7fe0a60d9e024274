#pragma once
// Result rows as text: the full path, the grid's six columns tab-separated, or CSV (RFC 4180).
#include <array>
#include <string>
#include <string_view>

#include "core/FormatSettings.h"
#include "find/FindOptions.h"
#include "search/ResultRows.h"

// A row's cells as the search wrote them; a cell it did not write is empty (the grid's value 0).
using TResultCells = std::array<std::string, ResultColumnCount>;

class TResultWriter {
 public:
  TResultWriter(TOutputFormat Format, bool NulEnds, char Delimiter, const TFormatSettings& Settings);
  // What comes before the first row: CSV's header line; nothing for the other forms.
  std::string Header() const;
  void AppendRow(const TResultCells& Cells, std::string& Out) const;

 private:
  // The texts the grid shows: the image index (0 file, 1 folder) and the Size through its mask.
  std::string ImageText(const TResultCells& Cells) const;
  std::string SizeShown(const TResultCells& Cells) const;

  const TOutputFormat FFormat;
  const char FDelimiter;
  const char* FEnd;  // after every row (CSV: CR LF, as RFC 4180 has it)
  std::size_t FEndSize;
  const TFormatSettings& FSettings;
};

// One CSV field: quoted when it holds a comma, a double quote, CR or LF, its quotes doubled.
std::string CsvField(std::string_view Text);
