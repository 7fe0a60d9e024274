#include <gtest/gtest.h>

#include "RecordingGrid.h"
#include "core/Clock.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/ColumnClasses.h"
#include "tests/support/TestLocales.h"

namespace {
struct TKindRow {
  const char* Class;
  TCellKind Kind;
  TSortType Sort;
  const char* Display;
  const char* Editor;
  const char* Play;
};

// Records what a column asks of its editor.
class TFakeEditor : public TObject, public TColumnEditorLink {
 public:
  bool IgnoreArrows = false;
  double Increment = 0, Min = -1, Max = -1;
  int DropDownCount = 0;
  TDropDownStyle Style = dsDropDown;
  std::vector<std::u16string> Items;
  void SetIgnoreArrowKeys(bool Value) override { IgnoreArrows = Value; }
  void SetItems(const std::vector<std::u16string>& Value) override { Items = Value; }
  void SetDropDownCount(int Value) override { DropDownCount = Value; }
  void SetDropDownStyle(TDropDownStyle Value) override { Style = Value; }
  void SetIncrement(double Value) override { Increment = Value; }
  void SetBounds(double AMin, double AMax) override { Min = AMin, Max = AMax; }
};

class ColumnClassesTest : public ::testing::Test {
 protected:
  TLocaleScope Locale;
};
}  // namespace

TEST_F(ColumnClassesTest, EveryKindNamesItsCellsAndClasses) {
  const TKindRow Rows[] = {
      {"TCheckBoxColumn", ckBoolean, stBoolean, "TCheckBoxColumnDisplay", "TCheckBoxEditor", "TCheckBoxColumnPlay"},
      {"THtmlColumn", ckText, stAlphabetic, "THtmlColumnDisplay", "", ""},
      {"TImageColumn", ckInteger, stNumeric, "TImageColumnDisplay", "", ""},
      {"TProgressColumn", ckFloat, stNumeric, "TProgressColumnDisplay", "", ""},
      {"TRateColumn", ckInteger, stNumeric, "TRateColumnDisplay", "", ""},
      {"TTextualColumn", ckText, stAlphabetic, "TTextualColumnDisplay", "TTextualEditor", ""},
      {"TComboBoxColumn", ckText, stAlphabetic, "TTextualColumnDisplay", "TComboBoxEditor", ""},
      {"TIncrementColumn", ckIncrement, stAlphabetic, "TIncrementColumnDisplay", "", ""},
      {"TNumericColumn", ckFloat, stNumeric, "TNumericColumnDisplay", "TSpinEditor", ""},
      {"TDateColumn", ckDateTime, stDate, "TDateColumnDisplay", "TDatePickerEditor", ""},
      {"TGraphicColumn", ckObject, stAlphabetic, "TGraphicColumnDisplay", "", ""},
  };
  for (const TKindRow& Row : Rows) {
    auto Column = CreateColumnByClassName(Row.Class);
    ASSERT_NE(Column, nullptr) << Row.Class;
    EXPECT_EQ(Column->ClassName(), Row.Class);
    EXPECT_EQ(Column->CellKind(), Row.Kind) << Row.Class;
    EXPECT_EQ(Column->SortType(), Row.Sort) << Row.Class;
    EXPECT_EQ(Column->DisplayClass(), Row.Display) << Row.Class;
    EXPECT_EQ(Column->EditorClass(), Row.Editor) << Row.Class;
    EXPECT_EQ(Column->PlayClass(), Row.Play) << Row.Class;
  }
  EXPECT_EQ(CreateColumnByClassName("TNoSuchColumn"), nullptr);
}

TEST_F(ColumnClassesTest, DefaultValues) {
  EXPECT_EQ(TImageColumn().DefaultValue(), u"0");
  EXPECT_EQ(TNumericColumn().DefaultValue(), u"0");
  EXPECT_EQ(TProgressColumn().DefaultValue(), u"0");
  EXPECT_EQ(TRateColumn().DefaultValue(), u"0");
  EXPECT_EQ(TTextualColumn().DefaultValue(), u"");
  EXPECT_EQ(TDateColumn().DefaultValue(), Utf8ToUtf16(DateToStr(ProgramClock().Today())));
  EXPECT_TRUE(TTextualColumn().Options().Contains(coShowTextFitHint));
  EXPECT_TRUE(TComboBoxColumn().Options().Contains(coShowTextFitHint));
  EXPECT_FALSE(TNumericColumn().Options().Contains(coShowTextFitHint));
  EXPECT_EQ(TNumericColumn().Increment(), 1.0);
  EXPECT_EQ(TRateColumn().Max(), 5);
  EXPECT_EQ(TProgressColumn().BorderColor(), 8421504);
  EXPECT_EQ(TComboBoxColumn().DropDownCount(), 8);
}

TEST_F(ColumnClassesTest, TextualFormatTextWrapsTheText) {
  TTextualColumn C;
  C.SetTextBefore(u"[");
  C.SetTextAfter(u"]");
  EXPECT_EQ(C.FormatText(u"x"), u"[x]");
}

TEST_F(ColumnClassesTest, NumericFormatTextAppliesTheMask) {
  TNumericColumn C;
  C.SetTextBefore(u"~");
  C.SetTextAfter(u"!");
  EXPECT_EQ(C.FormatText(u"1234.5"), u"1234.5!");  // no mask: the text itself
  C.SetFormatMask("###,###,##0k ");
  EXPECT_EQ(C.FormatText(u"1234.5"), u"1,235k !");
  try {
    C.FormatText(u"big");
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_STREQ(E.what(), "'big' is not a valid floating point value");
  }
}

TEST_F(ColumnClassesTest, KeysThatStartInput) {
  TTextualColumn Text;
  EXPECT_FALSE(Text.AcceptsKey(u' '));
  EXPECT_TRUE(Text.AcceptsKey(u'a'));
  TNumericColumn Number;
  EXPECT_TRUE(Number.AcceptsKey(u'.'));
  EXPECT_TRUE(Number.AcceptsKey(u'-'));
  EXPECT_TRUE(Number.AcceptsKey(u'7'));
  EXPECT_FALSE(Number.AcceptsKey(u'a'));
  EXPECT_FALSE(Number.AcceptsKey(u','));
  SetFormatSettings(GermanSettings());
  EXPECT_TRUE(Number.AcceptsKey(u','));
  TDateColumn Date;
  EXPECT_TRUE(Date.AcceptsKey(u'.'));
  EXPECT_FALSE(Date.AcceptsKey(u'/'));
  EXPECT_FALSE(TImageColumn().AcceptsKey(u'1'));
}

TEST_F(ColumnClassesTest, ImageColumnCanInputButHasNoEditor) {
  TImageColumn C;
  EXPECT_TRUE(C.Options().Contains(coCanInput));
  EXPECT_EQ(C.EditorClass(), "");
  EXPECT_EQ(C.Editor(), nullptr);
}

TEST_F(ColumnClassesTest, ProgressAssignLeavesHideWhenEmptyAndTransparent) {
  TProgressColumn Source, Target;
  Source.SetBorderColor(1), Source.SetMargin(9), Source.SetMax(7), Source.SetProgressColor(2);
  Source.SetProgressStyle(TProgressStyle::psCylinder), Source.SetShowText(true);
  Source.SetHideWhenEmpty(true), Source.SetTransparent(true);
  Target.Assign(Source);
  EXPECT_EQ(Target.BorderColor(), 1);
  EXPECT_EQ(Target.Margin(), 9);
  EXPECT_EQ(Target.Max(), 7);
  EXPECT_EQ(Target.ProgressColor(), 2);
  EXPECT_EQ(Target.ProgressStyle(), TProgressStyle::psCylinder);
  EXPECT_TRUE(Target.ShowText());
  EXPECT_FALSE(Target.HideWhenEmpty());
  EXPECT_FALSE(Target.Transparent());
}

TEST_F(ColumnClassesTest, AssignFromAnotherKindCopiesOnlyTheBase) {
  TNumericColumn Source;
  Source.SetFormatMask("0.00");
  Source.SetAlignment(taRightJustify);
  TTextualColumn Target;
  Target.Assign(Source);
  EXPECT_EQ(Target.Alignment(), taRightJustify);
  TNumericColumn Same;
  Same.Assign(Source);
  EXPECT_EQ(Same.FormatMask(), "0.00");
}

TEST_F(ColumnClassesTest, ComboAssignSkipsImages) {
  TComboBoxColumn Source, Target;
  TObject Images;
  Source.SetItems({u"a", u"b"}), Source.SetStyle(cbsDropDownList), Source.SetImages(&Images);
  Source.SetShowImages(true), Source.SetTextAfter(u"!");
  Target.Assign(Source);
  EXPECT_EQ(Target.Items().size(), 2);
  EXPECT_EQ(Target.Style(), cbsDropDownList);
  EXPECT_EQ(Target.TextAfter(), u"!");
  EXPECT_EQ(Target.Images(), nullptr);
  EXPECT_FALSE(Target.ShowImages());
}

TEST_F(ColumnClassesTest, RepaintingPropertiesAskForTheColumnsCells) {
  TRecordingGrid Grid;
  auto* Rate = Grid.Columns().Add<TRateColumn>();
  auto* Graphic = Grid.Columns().Add<TGraphicColumn>();
  auto* Progress = Grid.Columns().Add<TProgressColumn>();
  Grid.Forget();
  Rate->SetMax(5);  // unchanged: no repaint
  EXPECT_TRUE(Grid.Log.empty());
  Rate->SetMax(6);
  Graphic->SetMargin(2);
  Progress->SetMargin(3);  // store only
  EXPECT_EQ(Grid.Log, (std::vector<std::string>{"column 0 area 1", "column 1 area 0"}));
}

TEST_F(ColumnClassesTest, RateGlyphsTurnTransparentWhenAsked) {
  TRateColumn C;
  TGlyph G;
  G.Width = 1, G.Height = 2, G.Pixels = {5, 6};
  C.SetGlyph(G);
  EXPECT_FALSE(C.Glyph().Transparent);
  C.SetTransparent(true);
  C.SetEmptyGlyph(G);
  EXPECT_TRUE(C.EmptyGlyph().Transparent);
  EXPECT_EQ(C.EmptyGlyph().TransparentColor, 6);
}

TEST_F(ColumnClassesTest, PrepareEditorConfiguresTheEditor) {
  TFakeEditor* Spin = nullptr;
  TFakeEditor* Combo = nullptr;
  RegisterColumnElementClass("TSpinEditor", [&](TCustomColumn&) {
    auto E = std::make_unique<TFakeEditor>();
    Spin = E.get();
    return E;
  });
  RegisterColumnElementClass("TComboBoxEditor", [&](TCustomColumn&) {
    auto E = std::make_unique<TFakeEditor>();
    Combo = E.get();
    return E;
  });
  TNumericColumn Number;
  Number.SetIncrement(0.5), Number.SetMin(-3), Number.SetMax(9);
  Number.PrepareEditor();
  ASSERT_NE(Spin, nullptr);
  EXPECT_EQ(Spin->Increment, 0.5);
  EXPECT_EQ(Spin->Min, -3.0);
  EXPECT_EQ(Spin->Max, 9.0);
  TComboBoxColumn List;
  List.SetItems({u"x"}), List.SetStyle(cbsDropDownList), List.SetDropDownCount(4);
  List.PrepareEditor();
  ASSERT_NE(Combo, nullptr);
  EXPECT_EQ(Combo->Items, (std::vector<std::u16string>{u"x"}));
  EXPECT_EQ(Combo->Style, dsDropDownList);
  EXPECT_EQ(Combo->DropDownCount, 4);
  EXPECT_FALSE(Combo->IgnoreArrows);  // the combo replaces the textual step
  UnregisterColumnElementClass("TSpinEditor");
  UnregisterColumnElementClass("TComboBoxEditor");
}
