#pragma once
// The results as the window shows them: the search's entries kept compactly in a result list, and
// the grid's six columns reading them from there (the grid keeps no cell objects, only each row's
// number in the list). It is the search's result sink and the grid's row source; values are
// formatted when a cell is painted or read.
#include "core/FormatSettings.h"
#include "gridview/GridModel.h"
#include "results/ResultList.h"
#include "search/ResultSink.h"

class TResultGrid : public TResultSink, public TRowSource {
 public:
  // Adds the six result columns to Grid (captions, kinds, sort types, the Size mask; the window
  // gives them their looks), which takes its rows from here until the results go.
  TResultGrid(TGridModel& Grid, const TFormatSettings& Settings);
  ~TResultGrid() override;
  TResultGrid(const TResultGrid&) = delete;
  TResultGrid& operator=(const TResultGrid&) = delete;

  // TResultSink: rows go to the end of the grid. Clearing also sets the sorted column aside: the rows
  // of a search come in the order they are found, and no header arrow claims another.
  void BeginUpdate() override { FGrid.BeginUpdate(); }
  void EndUpdate() override { FGrid.EndUpdate(); }
  void Clear() override;
  // At the end of a search: the rows sorted by the column the user chose, its arrow shown again (the
  // one set aside, or one whose header was clicked since).
  void SortAsChosen();
  void Add(const std::string& Folder, const TFileEntry& Entry) override;
  int Count() const override { return FGrid.RowCount(); }

  // TRowSource: the cells of the result columns.
  void LoadValue(int ACol, std::uint32_t Item, TVirtualColElement& Element) override;
  std::u16string_view Text(int ACol, std::uint32_t Item, std::u16string& Buffer) override;
  double Number(int ACol, std::uint32_t Item) override;

  TGridModel& Grid() const { return FGrid; }
  // The entries behind the grid's rows.
  const TResultList& List() const { return FList; }
  // The entry a row of the grid shows.
  std::uint32_t ItemOf(int Row) const { return FGrid.Cells().Item(Row); }

 private:
  TCustomColumn* SortedColumn() const;

  TGridModel& FGrid;
  const TFormatSettings& FSettings;
  TResultList FList;
  TCustomColumn* FSetAside = nullptr;
  std::u16string FBuffer;  // formatted values on their way into a display
};
