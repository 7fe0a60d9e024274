// Fills a grid with 100,000 rows of the results window's six columns the way a search does (one
// AddRows(1) and six SetCellText per hit, inside BeginUpdate/EndUpdate), then sorts it by a text, a
// numeric and a date column and reverses it. Prints "key: value" lines.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "bench/support/HeapCounter.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"

namespace {
constexpr int Rows = 100000;

struct TResultRow {
  std::u16string Icon, Name, Size, Modified, Folder, Type;
};

double Seconds(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

std::vector<TResultRow> MakeRows() {
  std::mt19937 Random(4711);
  const char* const Types[] = {"Text Document", "Application", "File folder", "JPEG image",
                               "Compressed (zipped) Folder"};
  const char* const Extensions[] = {".txt", ".exe", "", ".jpg", ".zip"};
  std::vector<TResultRow> Result(Rows);
  for (int I = 0; I < Rows; ++I) {
    const unsigned Kind = Random() % 5;
    TResultRow& R = Result[std::size_t(I)];
    R.Icon = Kind == 2 ? u"1" : u"0";
    R.Name = Utf8ToUtf16("report_" + std::to_string(Random() % 1000000) + Extensions[Kind]);
    R.Size = Utf8ToUtf16(std::to_string(Random() % 5000000));
    const TDateTime When = 40000.0 + (Random() % 6000) + (Random() % 86400) / 86400.0;
    R.Modified = Utf8ToUtf16(DateTimeToStr(
        DosResolutionDateTime(DecodeDateTime(When).Year, DecodeDateTime(When).Month, DecodeDateTime(When).Day,
                              DecodeDateTime(When).Hour, DecodeDateTime(When).Minute, DecodeDateTime(When).Second)));
    R.Folder = Utf8ToUtf16("C:\\Users\\me\\Documents\\project" + std::to_string(Random() % 500));
    R.Type = Utf8ToUtf16(Types[Kind]);
  }
  return Result;
}
}  // namespace

int main() {
  SetFormatSettings(UnitedStatesFormatSettings());
  const std::vector<TResultRow> Data = MakeRows();

  TGridModel Grid;
  Grid.SetOptions(Grid.Options() + TGridOptions{goMultiSelect, goSelectFullRow});
  Grid.Columns().Add<TImageColumn>();
  auto* Name = Grid.Columns().Add<TTextualColumn>();
  auto* Size = Grid.Columns().Add<TNumericColumn>();
  Size->SetFormatMask("###,###,##0k ");
  auto* Modified = Grid.Columns().Add<TTextualColumn>();
  Modified->SetSortType(stDate);
  Grid.Columns().Add<TTextualColumn>();
  Grid.Columns().Add<TTextualColumn>();

  const std::size_t BytesBefore = LiveHeapBytes(), AllocationsBefore = HeapAllocations();
  auto Start = std::chrono::steady_clock::now();
  Grid.BeginUpdate();
  for (const TResultRow& R : Data) {
    Grid.AddRows(1);
    const int Row = Grid.RowCount() - 1;
    Grid.SetCellText(0, Row, R.Icon);
    Grid.SetCellText(1, Row, R.Name);
    Grid.SetCellText(2, Row, R.Size);
    Grid.SetCellText(3, Row, R.Modified);
    Grid.SetCellText(4, Row, R.Folder);
    Grid.SetCellText(5, Row, R.Type);
  }
  Grid.EndUpdate();
  const double AddSeconds = Seconds(Start);
  const double BytesPerRow = double(LiveHeapBytes() - BytesBefore) / Rows;
  const double AllocationsPerRow = double(HeapAllocations() - AllocationsBefore) / Rows;

  Start = std::chrono::steady_clock::now();
  Name->SetSorted(true);
  const double SortText = Seconds(Start);
  Start = std::chrono::steady_clock::now();
  Size->SetSorted(true);
  const double SortNumeric = Seconds(Start);
  Start = std::chrono::steady_clock::now();
  Modified->SetSorted(true);
  const double SortDate = Seconds(Start);
  Start = std::chrono::steady_clock::now();
  Modified->SetSortKind(skDescending);
  const double ReverseMs = Seconds(Start) * 1000.0;

  // Reading every cell back as text, as a repaint of all rows would.
  Start = std::chrono::steady_clock::now();
  std::size_t Characters = 0;
  for (int Row = 0; Row < Grid.RowCount(); ++Row)
    for (int Col = 0; Col < 6; ++Col) Characters += Grid.GetCellText(Col, Row).size();
  const double ReadSeconds = Seconds(Start);

  Start = std::chrono::steady_clock::now();
  Grid.ClearRows();
  const double ClearSeconds = Seconds(Start);

  std::printf("rows: %d\n", Rows);
  std::printf("add_rows_100k_s: %.4f\n", AddSeconds);
  std::printf("sort_text_100k_s: %.4f\n", SortText);
  std::printf("sort_numeric_100k_s: %.4f\n", SortNumeric);
  std::printf("sort_date_100k_s: %.4f\n", SortDate);
  std::printf("reverse_100k_ms: %.3f\n", ReverseMs);
  std::printf("read_all_text_100k_s: %.4f\n", ReadSeconds);
  std::printf("clear_rows_100k_s: %.4f\n", ClearSeconds);
  std::printf("bytes_per_row: %.0f\n", BytesPerRow);
  std::printf("allocations_per_row: %.1f\n", AllocationsPerRow);
  std::printf("characters_read: %zu\n", Characters);
  return 0;
}
