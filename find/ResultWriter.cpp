#include "find/ResultWriter.h"

#include <cstdlib>

#include "gridview/NumberFormat.h"

TResultWriter::TResultWriter(TOutputFormat Format, bool NulEnds, char Delimiter, const TFormatSettings& Settings)
    : FFormat(Format),
      FDelimiter(Delimiter),
      FEnd(Format == ofCsv ? "\r\n"
           : NulEnds       ? "\0"
                           : "\n"),
      FEndSize(Format == ofCsv ? 2 : 1),
      FSettings(Settings) {}

std::string TResultWriter::Header() const {
  if (FFormat != ofCsv) return std::string();
  std::string Line;
  for (int Column = 0; Column < ResultColumnCount; ++Column) {
    if (Column > 0) Line += ',';
    Line += CsvField(ResultColumnCaptions[Column]);
  }
  return Line.append(FEnd, FEndSize);
}

std::string TResultWriter::ImageText(const TResultCells& Cells) const {
  return Cells[rcImage].empty() ? "0" : Cells[rcImage];
}

std::string TResultWriter::SizeShown(const TResultCells& Cells) const {
  const double Kilobytes = std::strtod(Cells[rcSize].c_str(), nullptr);  // "" for a folder: 0
  return FormatFloat(SizeColumnMask, Kilobytes, FSettings);
}

void TResultWriter::AppendRow(const TResultCells& Cells, std::string& Out) const {
  switch (FFormat) {
    case ofPath: Out.append(Cells[rcFolder]).append(1, FDelimiter).append(Cells[rcName]); break;
    case ofLong:
    case ofCsv: {
      const std::string Shown[ResultColumnCount] = {ImageText(Cells),  Cells[rcName],   SizeShown(Cells),
                                                    Cells[rcModified], Cells[rcFolder], Cells[rcType]};
      for (int Column = 0; Column < ResultColumnCount; ++Column) {
        if (Column > 0) Out += FFormat == ofCsv ? ',' : '\t';
        Out += FFormat == ofCsv ? CsvField(Shown[Column]) : Shown[Column];
      }
      break;
    }
  }
  Out.append(FEnd, FEndSize);
}

std::string CsvField(std::string_view Text) {
  if (Text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(Text);
  std::string Field = "\"";
  for (char C : Text) {
    if (C == '"') Field += '"';
    Field += C;
  }
  return Field += '"';
}
