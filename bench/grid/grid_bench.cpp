// Fills a grid of typed cells with 100,000 rows of the results window's six columns (one AddRows(1)
// and six SetCellText per row, inside BeginUpdate/EndUpdate), then sorts it by a text, a numeric and
// a date column and reverses it. Then hands 1,000,000 results to the window's result store as a
// search does (one folder for every twenty entries, as in search_bench's tree) and sorts them by
// name, size and date: result_row_bytes is the heap the store and the grid hold per result.
// Prints "key: value" lines.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "app/ResultGrid.h"
#include "bench/support/HeapCounter.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"
#include "platform/Platform.h"

namespace {
constexpr int Rows = 100000;

struct TResultRow {
  std::u16string Icon, Name, Size, Modified, Folder, Type;
};

double Seconds(std::chrono::steady_clock::time_point Start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// The window's store: 1,000,000 results added through its sink, then sorted by three columns.
void ResultStore() {
  constexpr int Results = 1000000;
  const char* const Extensions[] = {".txt", ".JPG", ".Txt", ".csv", ".md", ".EXE", ".doc", ".tar.gz"};
  const std::size_t BytesBefore = LiveHeapBytes();
  TGridModel Grid;
  Grid.SetOptions(Grid.Options() + TGridOptions{goMultiSelect, goSelectFullRow});
  TResultGrid Store(Grid, FormatSettings());
  std::mt19937 Random(4711);
  TFileEntry Entry;
  Entry.Attributes = faArchive;
  std::string Folder;
  auto Start = std::chrono::steady_clock::now();
  Store.BeginUpdate();
  for (int I = 0; I < Results; ++I) {
    if (I % 20 == 0)
      Folder = "C:\\Users\\me\\Documents\\Folder_" + std::to_string(I / 20000) + "\\Sub " + std::to_string(I / 20);
    Entry.Name = "Report_" + std::to_string(Random() % 1000000) + Extensions[I % 8];
    Entry.Size = Random() % 50000000;
    Entry.Time = 40000.0 + (Random() % 6000) + (Random() % 43200) / 43200.0;
    Store.Add(Folder, Entry);
  }
  Store.EndUpdate();
  const double AddSeconds = Seconds(Start);
  const double BytesPerRow = double(LiveHeapBytes() - BytesBefore) / Results;
  // Wall clock and the process's processor time, which a machine busy with other work disturbs less.
  double Cpu[4] = {};
  int Sorts = 0;
  auto SortSeconds = [&](int Column) {
    const auto Begin = std::chrono::steady_clock::now();
    const std::clock_t CpuBegin = std::clock();
    Grid.SortByHeaderClick(Grid.Columns().Items(Column));
    Cpu[Sorts++] = double(std::clock() - CpuBegin) / CLOCKS_PER_SEC;
    return Seconds(Begin);
  };
  const double SortName = SortSeconds(1), SortSize = SortSeconds(2), SortDate = SortSeconds(3);
  const double ReverseMs = SortSeconds(3) * 1000.0;
  std::printf("result_rows: %d\n", Grid.RowCount());
  std::printf("result_add_1m_s: %.4f\n", AddSeconds);
  std::printf("sort_1m_name_s: %.4f\n", SortName);
  std::printf("sort_1m_size_s: %.4f\n", SortSize);
  std::printf("sort_1m_date_s: %.4f\n", SortDate);
  std::printf("sort_1m_name_cpu_s: %.4f\n", Cpu[0]);
  std::printf("sort_1m_size_cpu_s: %.4f\n", Cpu[1]);
  std::printf("sort_1m_date_cpu_s: %.4f\n", Cpu[2]);
  std::printf("reverse_1m_ms: %.3f\n", ReverseMs);
  std::printf("result_row_bytes: %.0f\n", BytesPerRow);
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
  InstallPlatformServices();
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
  ResultStore();
  return 0;
}
