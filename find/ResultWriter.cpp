#include "find/ResultWriter.h"

#include "core/NumberFormat.h"
#include "results/ResultCsv.h"
#include "results/ResultRows.h"

TResultWriter::TResultWriter(TOutputFormat Format, bool NulEnds, char Delimiter, const TFormatSettings& Settings)
    : FFormat(Format), FDelimiter(Delimiter), FEnd(NulEnds ? '\0' : '\n'), FSettings(Settings) {}

std::string TResultWriter::Header() const { return FFormat == ofCsv ? ResultCsvHeader : std::string(); }

void TResultWriter::AppendResult(const std::string& Folder, const TFileEntry& Entry, std::string& Out) const {
  const bool IsFolder = Entry.IsDirectory();
  switch (FFormat) {
    case ofPath: Out.append(Folder).append(1, FDelimiter).append(Entry.Name); break;
    case ofCsv: AppendResultCsv(Out, Folder, Entry.Name, Entry.Size, Entry.Time, IsFolder); return;
    case ofLong:
      // The columns as the grid shows them: the image index, the size through the column's mask.
      Out.append(IsFolder ? "1" : "0").append(1, '\t').append(Entry.Name).append(1, '\t');
      Out.append(FormatFloat(SizeColumnMask, IsFolder ? 0.0 : static_cast<double>(Entry.Size / 1024), FSettings));
      Out.append(1, '\t').append(DateText(Entry.Time, FSettings)).append(1, '\t').append(Folder).append(1, '\t');
      Out.append(ResultTypeName(Entry.Name, IsFolder));
      break;
  }
  Out += FEnd;
}
