#include "results/ResultCsv.h"

#include <cstdio>

#include "results/ResultRows.h"

void AppendCsvField(std::string& Out, std::string_view Field) {
  if (Field.find_first_of(",\"\r\n") == std::string_view::npos) {
    Out += Field;
    return;
  }
  Out += '"';
  for (char C : Field) {
    if (C == '"') Out += '"';
    Out += C;
  }
  Out += '"';
}

std::string IsoDateTimeText(TDateTime Time) {
  const TDateTimeParts Parts = DecodeDateTime(Time);
  char Text[40];
  std::snprintf(Text, sizeof Text, "%04d-%02d-%02dT%02d:%02d:%02d", Parts.Year, Parts.Month, Parts.Day, Parts.Hour,
                Parts.Minute, Parts.Second);
  return Text;
}

void AppendResultCsv(std::string& Out, std::string_view Folder, std::string_view Name, std::uint64_t Size,
                     TDateTime Time, bool IsFolder) {
  AppendCsvField(Out, Name);
  Out += ',';
  if (!IsFolder) Out += std::to_string(Size);
  Out += ',';
  Out += IsoDateTimeText(Time);
  Out += ',';
  AppendCsvField(Out, Folder);
  Out += ',';
  AppendCsvField(Out, ResultTypeName(Name, IsFolder));
  Out += "\r\n";
}
