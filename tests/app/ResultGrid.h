#pragma once
// The results grid's data side with the window's six columns, filled by the search's row builder.
#include <cstdint>
#include <string>

#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/ColumnClasses.h"
#include "gridview/GridModel.h"
#include "search/ResultRows.h"

class TResultGrid : public TGridModel {
 public:
  TResultGrid() {
    Columns().Add<TImageColumn>();
    Columns().Add<TTextualColumn>()->Header().SetCaption(u"Name");
    auto* Size = Columns().Add<TNumericColumn>();
    Size->Header().SetCaption(u"Size");
    Size->SetFormatMask("###,###,##0k ");
    Columns().Add<TTextualColumn>()->Header().SetCaption(u"Modified");
    Columns().Add<TTextualColumn>()->Header().SetCaption(u"Folder");
    Columns().Add<TTextualColumn>()->Header().SetCaption(u"Type");
    SetOptions(Options() + TGridOptions{goMultiSelect, goSelectFullRow});
  }

  // One row as a search lists the entry Name found in Folder.
  void AddResult(const std::string& Folder, const std::string& Name, std::uint64_t Size, bool IsFolder) {
    TFileEntry Entry;
    Entry.Name = Name;
    Entry.Size = Size;
    Entry.Attributes = IsFolder ? faDirectory : faArchive;
    Entry.Time = 45000.5;
    std::uint64_t Total = 0;
    AddResultRow(FSink, UnitedStatesFormatSettings(), Folder, Entry, Total);
  }

 private:
  struct TSink : TRowSink {
    TGridModel& Grid;
    explicit TSink(TGridModel& Grid) : Grid(Grid) {}
    void BeginUpdate() override { Grid.BeginUpdate(); }
    void EndUpdate() override { Grid.EndUpdate(); }
    void ClearRows() override { Grid.ClearRows(); }
    void AddRows(int Count) override { Grid.AddRows(Count); }
    int RowCount() const override { return Grid.RowCount(); }
    void SetCellText(int Column, int Row, const std::string& Text) override {
      Grid.SetCellText(Column, Row, Utf8ToUtf16(Text));
    }
  } FSink{*this};
};
