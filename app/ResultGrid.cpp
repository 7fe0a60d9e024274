#include "app/ResultGrid.h"

#include "core/Conversions.h"
#include "core/Text.h"
#include "gridview/ColumnClasses.h"
#include "results/ResultRows.h"

namespace {

void AddResultColumns(TColumns& Columns) {
  auto Add = [&Columns](auto* Column, TResultColumn Kind) {
    Column->Header().SetCaption(Utf8ToUtf16(ResultColumnCaptions[Kind]));
    Column->SetCellKind(ckVirtual);
    return Column;
  };
  Add(Columns.Add<TImageColumn>(), rcImage);
  Add(Columns.Add<TTextualColumn>(), rcName);
  Add(Columns.Add<TNumericColumn>(), rcSize)->SetFormatMask(SizeColumnMask);
  Add(Columns.Add<TTextualColumn>(), rcModified)->SetSortType(stDate);
  Add(Columns.Add<TTextualColumn>(), rcFolder);
  Add(Columns.Add<TTextualColumn>(), rcType);
  static_assert(rcType == 5, "the grid's columns follow the result rows' order");
}

}  // namespace

TResultGrid::TResultGrid(TGridModel& Grid, const TFormatSettings& Settings) : FGrid(Grid), FSettings(Settings) {
  AddResultColumns(FGrid.Columns());
  FGrid.SetRowSource(this);
}

TResultGrid::~TResultGrid() {
  try {
    FGrid.SetRowSource(nullptr);
  } catch (...) {
    // The grid empties itself; nothing of it can fail that matters while the results go.
  }
}

TCustomColumn* TResultGrid::SortedColumn() const {
  TColumns& Columns = FGrid.Columns();
  for (int Index = 0; Index < Columns.Count(); ++Index)
    if (Columns.Items(Index)->Sorted()) return Columns.Items(Index);
  return nullptr;
}

void TResultGrid::Clear() {
  FGrid.ClearRows();
  FList.Clear();
  if (TCustomColumn* Sorted = SortedColumn()) {
    FSetAside = Sorted;
    Sorted->SetSorted(false);
  }
}

void TResultGrid::SortAsChosen() {
  if (TCustomColumn* Clicked = SortedColumn()) {
    // Rows came after the click: the order it made no longer holds.
    if (!FGrid.Cells().SortValid()) FGrid.SortColumn(Clicked, Clicked->SortKind() == skAscending);
  } else if (FSetAside) {
    FSetAside->SetSorted(true);  // sorts, and shows the arrow
  }
  FSetAside = nullptr;
}

void TResultGrid::Add(const std::string& Folder, const TFileEntry& Entry) {
  // The grid numbers its rows' items from 0 after it was emptied, whoever emptied it.
  if (FGrid.Cells().NextItem() == 0 && FList.Count() > 0) FList.Clear();
  FList.Add(Folder, Entry);
  FGrid.AddRows(1);
}

// The grid keeps each row's item; a row it made itself (an inserted one) has none here and shows
// empty cells.

void TResultGrid::LoadValue(int ACol, std::uint32_t Item, TVirtualColElement& Element) {
  if (Item >= FList.Count()) {
    Element.IntegerValue = 0, Element.FloatValue = 0, Element.TextValue.clear();
    return;
  }
  const bool IsFolder = FList.IsFolder(Item);
  switch (ACol) {
    case rcImage: Element.IntegerValue = IsFolder ? 1 : 0; break;
    case rcSize: Element.FloatValue = IsFolder ? 0.0 : static_cast<double>(FList.Size(Item) / 1024); break;
    default: {
      const std::u16string_view Value = Text(ACol, Item, FBuffer);
      Element.TextValue.assign(Value.data(), Value.size());
      break;
    }
  }
}

std::u16string_view TResultGrid::Text(int ACol, std::uint32_t Item, std::u16string& Buffer) {
  Buffer.clear();
  if (Item >= FList.Count()) return Buffer;
  switch (ACol) {
    case rcImage: Buffer = FList.IsFolder(Item) ? u"1" : u"0"; return Buffer;
    case rcName: return FList.Name(Item);
    case rcSize: AppendUtf16(FList.IsFolder(Item) ? "0" : SizeText(FList.Size(Item)), Buffer); return Buffer;
    case rcModified: AppendUtf16(DateText(FList.Time(Item), FSettings), Buffer); return Buffer;
    case rcFolder: return FList.Folder(Item);
    case rcType: return FList.Type(Item);
    default: return Buffer;
  }
}

double TResultGrid::Number(int ACol, std::uint32_t Item) {
  if (Item >= FList.Count()) return 0;
  switch (ACol) {
    case rcImage: return FList.IsFolder(Item) ? 1 : 0;
    // The exact size, so that files of the same whole kilobytes still sort by their bytes.
    case rcSize: return FList.IsFolder(Item) ? 0.0 : static_cast<double>(FList.Size(Item)) / 1024.0;
    // The column holds times at two-second resolution, as the file system listings of old did; the
    // list keeps the second for the exports.
    case rcModified: return DosResolution(FList.Time(Item));
    default: {
      // A text read as a number, as a text cell's would be.
      std::u16string Buffer;
      return StrToFloat(Utf16ToUtf8(Text(ACol, Item, Buffer)));
    }
  }
}
