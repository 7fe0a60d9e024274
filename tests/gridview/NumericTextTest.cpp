#include <gtest/gtest.h>

#include "gridview/NumericText.h"
#include "tests/support/TestLocales.h"

namespace {
const TEditOptions Default{eoAllowFloat, eoAllowSigns};

// Types Keys one by one at the end of the text, as an edit box with the caret at the end would.
std::u16string Type(std::u16string_view Keys, TEditOptions Options = Default, char16_t Decimal = u'.') {
  TEditState Edit;
  for (char16_t Key : Keys) {
    Edit.SelStart = static_cast<int>(Edit.Text.size());
    if (NumericKeyAccepted(Key, Edit, Options, Decimal)) Edit.Text += Key;
  }
  return Edit.Text;
}
}  // namespace

TEST(NumericTextTest, SecondDecimalSeparatorIsRefused) {
  EXPECT_EQ(Type(u"1.2.3"), u"1.23");
  EXPECT_EQ(Type(u"1,2,3", Default, u','), u"1,23");
  EXPECT_EQ(Type(u"1.5", TEditOptions{eoAllowSigns}), u"15");
  EXPECT_EQ(Type(u"1.2.3x", TEditOptions{eoAllowAll}), u"1.2.3x");
}

TEST(NumericTextTest, SignsOnlyAtTheStartOfASignlessText) {
  EXPECT_EQ(Type(u"-12-3+"), u"-123");
  EXPECT_EQ(Type(u"-5", TEditOptions{eoAllowFloat}), u"5");
  // Replacing a selected sign or separator is allowed.
  EXPECT_TRUE(NumericKeyAccepted(u'+', TEditState{u"-5", 0, 1}, Default, u'.'));
  EXPECT_TRUE(NumericKeyAccepted(u'.', TEditState{u"1.5", 1, 1}, Default, u'.'));
  EXPECT_FALSE(NumericKeyAccepted(u'-', TEditState{u"5", 1, 0}, Default, u'.'));
  // Control keys for the clipboard and Tab pass; others and letters do not.
  for (char16_t Key : {char16_t(3), char16_t(8), char16_t(9), char16_t(22), char16_t(24)})
    EXPECT_TRUE(NumericKeyAccepted(Key, TEditState{u"1.5", 3, 0}, Default, u'.')) << int(Key);
  EXPECT_FALSE(NumericKeyAccepted(char16_t(1), TEditState{}, Default, u'.'));
  EXPECT_FALSE(NumericKeyAccepted(u'e', TEditState{}, Default, u'.'));
}

TEST(NumericTextTest, CleaningKeepsOneSeparatorAndALeadingSign) {
  EXPECT_EQ(CleanNumericText(u"-12a3", true, true, u'.'), u"-123");
  EXPECT_EQ(CleanNumericText(u" 1.2.3-4", true, true, u'.'), u"1.234");
  EXPECT_EQ(CleanNumericText(u"1.2", false, true, u'.'), u"12");
  EXPECT_EQ(CleanNumericText(u"-7", true, false, u'.'), u"7");
  EXPECT_EQ(CleanNumericText(u"-", true, true, u'.'), u"0");
  EXPECT_EQ(CleanNumericText(u"abc", true, true, u'.'), u"");
}

TEST(NumericTextTest, ValueIsKeptWithinTheBounds) {
  TNumericFormat Format;
  EXPECT_EQ(NumericTextValue(u"", Format), 0);
  EXPECT_EQ(NumericTextValue(u"12.5", Format), 12.5);
  EXPECT_EQ(NumericTextValue(u"-3", Format), 0);  // below Min 0
  Format.Min = -10;
  EXPECT_EQ(NumericTextValue(u"-3", Format), -3);
  EXPECT_EQ(NumericTextValue(u"-30", Format), -10);
  EXPECT_EQ(NumericTextValue(u"1e9", Format), 19);  // letters are no part of a number here
  Format.Max = 100;
  EXPECT_EQ(NumericTextValue(u"250", Format), 100);
  // Texts with nothing of a number left read as 0.
  EXPECT_EQ(NumericTextValue(u"+", Format), 0);
  EXPECT_EQ(NumericTextValue(u".", Format), 0);
}

TEST(NumericTextTest, ShownValueRoundTripsWithNullTextAndUnit) {
  TNumericFormat Format;
  Format.NullText = u"n/a";
  EXPECT_EQ(FormatNumericValue(0, Format), u"n/a");
  EXPECT_EQ(NumericTextValue(u"n/a", Format), 0);
  EXPECT_EQ(FormatNumericValue(2.5, Format), u"2.50");
  Format.TextAfter = u" m2";
  Format.Precision = 0;
  EXPECT_EQ(FormatNumericValue(2.5, Format), u"2.5 m2");
  // The unit's digit is not read into the number.
  EXPECT_EQ(NumericTextValue(FormatNumericValue(2.5, Format), Format), 2.5);
  Format.Precision = 3;
  Format.Options = TEditOptions{eoAllowSigns};
  EXPECT_EQ(FormatNumericValue(7, Format), u"7 m2");
}

TEST(NumericTextTest, ShownValueFollowsTheLocaleSeparator) {
  TLocaleScope German(GermanSettings());
  TNumericFormat Format;
  Format.Decimal = DecimalSeparatorUnit();
  EXPECT_EQ(Format.Decimal, u',');
  EXPECT_EQ(FormatNumericValue(1234.5, Format), u"1234,50");
  Format.Precision = 0;
  EXPECT_EQ(FormatNumericValue(0.25, Format), u"0,25");
  EXPECT_EQ(NumericTextValue(u"0,25", Format), 0.25);
}

TEST(NumericTextTest, PasteCleansAndLeavesTheCaretAtTheSelectionStart) {
  TNumericFormat Format;
  TEditState Pasted = PasteNumericText(TEditState{}, u"-12a3", Format);
  EXPECT_EQ(Pasted.Text, u"-123");
  EXPECT_EQ(Pasted.SelStart, 0);
  // Not at the start: the sign goes; a separator already outside the selection: the new one goes.
  Pasted = PasteNumericText(TEditState{u"1.5", 3, 0}, u"-2.7", Format);
  EXPECT_EQ(Pasted.Text, u"1.527");
  EXPECT_EQ(Pasted.SelStart, 3);
  // The selection is replaced, and a separator inside it may come back.
  Pasted = PasteNumericText(TEditState{u"1.5", 1, 2}, u".25", Format);
  EXPECT_EQ(Pasted.Text, u"1.25");
  EXPECT_EQ(Pasted.SelStart, 1);
}
