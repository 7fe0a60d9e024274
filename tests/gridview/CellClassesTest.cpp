#include <gtest/gtest.h>

#include "RecordingGrid.h"
#include "core/Clock.h"
#include "core/Text.h"
#include "gridview/CellClasses.h"
#include "gridview/Cells.h"
#include "gridview/VirtualColumn.h"
#include "tests/support/TestLocales.h"

namespace {
class CellClassesTest : public ::testing::Test {
 protected:
  std::unique_ptr<TCell> Make(TCellKind Kind) {
    auto Cell = CreateCell(Store, Kind);
    Cell->EndInitializing();
    return Cell;
  }
  TLocaleScope Locale;
  TCells Store;
};
}  // namespace

TEST_F(CellClassesTest, KindsMakeTheirCellClasses) {
  EXPECT_NE(dynamic_cast<TIncrementCell*>(Make(ckIncrement).get()), nullptr);
  EXPECT_NE(dynamic_cast<TStringCell*>(Make(ckObject).get()), nullptr);
  EXPECT_NE(dynamic_cast<TBooleanCell*>(Make(ckBoolean).get()), nullptr);
  EXPECT_NE(dynamic_cast<TDateTimeCell*>(Make(ckDateTime).get()), nullptr);
  EXPECT_NE(dynamic_cast<TFloatCell*>(Make(ckFloat).get()), nullptr);
  EXPECT_NE(dynamic_cast<TIntegerCell*>(Make(ckInteger).get()), nullptr);
  EXPECT_NE(dynamic_cast<TStringCell*>(Make(ckText).get()), nullptr);
  EXPECT_NE(dynamic_cast<TVirtualCell*>(Make(ckVirtual).get()), nullptr);
  EXPECT_NE(dynamic_cast<TStringCell*>(Make(TCellKind(1)).get()), nullptr);
  EXPECT_NE(dynamic_cast<TStringCell*>(Make(TCellKind(8)).get()), nullptr);
  // Inserted rows cannot carry a row number or a handler.
  EXPECT_NE(dynamic_cast<TIntegerCell*>(CreateCell(Store, ckIncrement, true).get()), nullptr);
  EXPECT_NE(dynamic_cast<TStringCell*>(CreateCell(Store, ckVirtual, true).get()), nullptr);
}

TEST_F(CellClassesTest, NewCellsAreEmptyOrZero) {
  EXPECT_EQ(Make(ckText)->GetAsText(), u"");
  EXPECT_EQ(Make(ckInteger)->GetAsText(), u"0");
  EXPECT_EQ(Make(ckFloat)->GetAsText(), u"0");
  EXPECT_EQ(Make(ckDateTime)->GetAsDateTime(), 0.0);
  EXPECT_EQ(Make(ckBoolean)->GetAsText(), u"False");
}

TEST_F(CellClassesTest, IntegerCellConversions) {
  auto Cell = Make(ckInteger);
  Cell->SetAsText(u"41");
  EXPECT_EQ(Cell->GetAsInteger(), 41);
  EXPECT_THROW(Cell->SetAsText(u"4x"), EConvertError);
  EXPECT_EQ(Cell->GetAsInteger(), 41);  // the old value stays
  Cell->SetAsText(u"");
  EXPECT_EQ(Cell->GetAsInteger(), 0);
  Cell->SetAsFloat(2.5);
  EXPECT_EQ(Cell->GetAsInteger(), 2);  // halves to even
  Cell->SetAsFloat(3.5);
  EXPECT_EQ(Cell->GetAsFloat(), 4.0);
  EXPECT_FALSE(Cell->GetAsBoolean());
  EXPECT_EQ(Cell->GetAsDateTime(), 0.0);
  Cell->SetAsBoolean(true);
  EXPECT_EQ(Cell->GetAsInteger(), 0);
}

TEST_F(CellClassesTest, FloatCellConversions) {
  auto Cell = Make(ckFloat);
  Cell->SetAsText(u"12.5");
  EXPECT_EQ(Cell->GetAsFloat(), 12.5);
  EXPECT_EQ(Cell->GetAsInteger(), 12);
  EXPECT_EQ(Cell->GetAsDateTime(), 12.5);
  EXPECT_THROW(Cell->SetAsText(u"many"), EConvertError);
  EXPECT_THROW(Cell->SetAsText(u""), EConvertError);
  EXPECT_EQ(Cell->GetAsText(), u"12.5");  // the old value stays
  Cell->SetAsBoolean(true);
  EXPECT_EQ(Cell->GetAsFloat(), 0.0);
}

TEST_F(CellClassesTest, FloatCellFollowsTheLocale) {
  SetFormatSettings(GermanSettings());
  auto Cell = Make(ckFloat);
  Cell->SetAsText(u"1,25");
  EXPECT_EQ(Cell->GetAsFloat(), 1.25);
  EXPECT_EQ(Cell->GetAsText(), u"1,25");
}

TEST_F(CellClassesTest, DateTimeCellNeverRaises) {
  auto Cell = Make(ckDateTime);
  Cell->SetAsText(u"12/17/2026 4:39:07 PM");
  EXPECT_EQ(Cell->GetAsText(), u"12/17/2026 4:39:07 PM");
  Cell->SetAsText(u"not a date");
  EXPECT_EQ(Cell->GetAsDateTime(), 0.0);
  Cell->SetAsFloat(1.5);
  EXPECT_EQ(Cell->GetAsInteger(), 2);
  Cell->SetAsFloat(2.5);
  EXPECT_EQ(Cell->GetAsInteger(), 2);
  Cell->SetAsBoolean(false);
  EXPECT_EQ(Cell->GetAsDateTime(), ProgramClock().Today());
}

TEST_F(CellClassesTest, BooleanCellTextRule) {
  auto Cell = Make(ckBoolean);
  for (const char16_t* Text : {u"true", u"TRUE", u"tRuE"}) {
    Cell->SetAsText(u"false");
    Cell->SetAsText(Text);
    EXPECT_TRUE(Cell->GetAsBoolean()) << Utf16ToUtf8(Text);
  }
  for (const char16_t* Text : {u"yes", u"1", u" true", u""}) {
    Cell->SetAsText(u"true");
    Cell->SetAsText(Text);
    EXPECT_FALSE(Cell->GetAsBoolean()) << Utf16ToUtf8(Text);
  }
  Cell->SetAsFloat(0.5);
  EXPECT_TRUE(Cell->GetAsBoolean());
  Cell->SetAsInteger(-1);
  EXPECT_FALSE(Cell->GetAsBoolean());
  EXPECT_EQ(Cell->GetAsFloat(), 0.0);
}

TEST_F(CellClassesTest, StringCellConvertsOnRead) {
  auto Cell = Make(ckText);
  Cell->SetAsFloat(2.5);
  EXPECT_EQ(Cell->GetAsText(), u"2.5");
  EXPECT_EQ(Cell->GetAsFloat(), 2.5);
  Cell->SetAsBoolean(true);
  EXPECT_EQ(Cell->GetAsText(), u"True");
  EXPECT_TRUE(Cell->GetAsBoolean());
  Cell->SetAsText(u"x");
  EXPECT_THROW(Cell->GetAsInteger(), EConvertError);
  EXPECT_THROW(Cell->GetAsFloat(), EConvertError);
  EXPECT_THROW(Cell->GetAsDateTime(), EConvertError);
  EXPECT_THROW(Cell->GetAsBoolean(), EConvertError);
}

TEST_F(CellClassesTest, IncrementCellShowsItsRow) {
  auto Cell = Make(ckIncrement);
  Cell->SetPosition(0, 6);
  EXPECT_EQ(Cell->GetAsText(), u"7");
  EXPECT_EQ(Cell->GetAsInteger(), 7);
  Cell->SetAsText(u"100");  // not stored
  EXPECT_EQ(Cell->GetAsText(), u"7");
}

TEST_F(CellClassesTest, VirtualCellGoesThroughItsHandlers) {
  auto Cell = Make(ckVirtual);
  auto* Virtual = static_cast<TVirtualCell*>(Cell.get());
  EXPECT_EQ(Virtual->GetAsText(), u"");
  std::u16string Backing = u"3";
  Virtual->OnGetText = [&](TVirtualCell&) { return Backing; };
  Virtual->OnSetText = [&](TVirtualCell&, const std::u16string& Text) { Backing = Text; };
  EXPECT_EQ(Virtual->GetAsInteger(), 3);
  Virtual->SetAsFloat(1.5);
  EXPECT_EQ(Backing, u"1.5");
}

TEST_F(CellClassesTest, ColourChangesNotifyOnlyAfterInitialising) {
  TRecordingGrid Grid;
  int Changes = 0;
  Grid.OnChange = [&](int, int) { ++Changes; };
  auto Cell = CreateCell(Grid.Cells(), ckText);
  Cell->SetColor(clWhite);
  EXPECT_EQ(Changes, 0);
  Cell->EndInitializing();
  Cell->SetColor(clBlack);
  Cell->SetAsText(u"a");
  EXPECT_EQ(Changes, 2);
}
