// The core linked alone, with no platform: it runs on its own defaults until services are handed in,
// and then follows what it was handed.
#include <gtest/gtest.h>

#include "core/Clock.h"
#include "core/CodePage.h"
#include "core/Collation.h"
#include "core/Exceptions.h"
#include "core/FormatSettings.h"
#include "core/Text.h"

namespace {

class TReversedCollation : public TCollation {
 public:
  int Compare(std::string_view A, std::string_view B) override { return -AsciiCompareText(A, B); }
  std::string Key(std::string_view Text) override { return std::string(Text); }
};

class TStoppedClock : public TClock {
 public:
  TDateTime Now() override { return EncodeDate(2031, 5, 6); }
  std::uint32_t TickCount() override { return 0; }
  void Sleep(std::uint32_t) override {}
};

}  // namespace

// Runs first (the order of the file): nothing has been handed in yet.
TEST(CoreAloneTest, WithoutThePlatformTheCoreKeepsItsOwnDefaults) {
  EXPECT_EQ(FormatSettings().ShortDateFormat, "M/d/yyyy");
  EXPECT_LT(CompareTextCollated("apple", "BANANA"), 0);
  EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");  // the euro sign of Windows-1252
  EXPECT_THROW(ProgramClock(), ELogicError);
  TDateTime Value;
  EXPECT_THROW(TryStrToDateTime("5/6", Value), ELogicError);  // a year to fill in needs a clock
}

TEST(CoreAloneTest, HandedInServicesAreTheOnesUsed) {
  TReversedCollation Reversed;
  TStoppedClock Clock;
  SetCollation(Reversed);
  SetProgramClock(Clock);
  EXPECT_GT(CompareTextCollated("apple", "BANANA"), 0);
  TDateTime Value;
  ASSERT_TRUE(TryStrToDateTime("5/6", Value));
  EXPECT_EQ(Value, EncodeDate(2031, 5, 6));
  TAsciiCollation Ascii;
  SetCollation(Ascii);
}
