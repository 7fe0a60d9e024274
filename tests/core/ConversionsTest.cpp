#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "core/Conversions.h"
#include "core/Exceptions.h"
#include "tests/support/TestLocales.h"

namespace {
template <class F>
std::string ErrorOf(F Call) {
  try {
    Call();
  } catch (const EConvertError& E) {
    return E.what();
  }
  return "(no error)";
}
}  // namespace

TEST(ConversionsTest, IntegersAcceptSignsBlanksAndHex) {
  EXPECT_EQ(StrToInt("42"), 42);
  EXPECT_EQ(StrToInt("  -17"), -17);
  EXPECT_EQ(StrToInt("+5"), 5);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
}

TEST(ConversionsTest, BadIntegersRaiseTheirMessage) {
  EXPECT_EQ(ErrorOf([] { StrToInt("12a"); }), "'12a' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { StrToInt(""); }), "'' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { StrToInt("2147483648"); }), "'2147483648' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { StrToInt("1.5"); }), "'1.5' is not a valid integer value");
}

TEST(ConversionsTest, FloatsFollowTheLocale) {
  const TFormatSettings Us = UnitedStatesFormatSettings(), German = GermanSettings();
  EXPECT_DOUBLE_EQ(StrToFloat(" 1234.5 ", Us), 1234.5);
  EXPECT_DOUBLE_EQ(StrToFloat("-1.5e3", Us), -1500);
  EXPECT_DOUBLE_EQ(StrToFloat(".5", Us), 0.5);
  EXPECT_DOUBLE_EQ(StrToFloat("1234,5", German), 1234.5);
  double V = 0;
  EXPECT_FALSE(TryStrToFloat("1234.5", V, German));
  EXPECT_FALSE(TryStrToFloat("1,234", V, Us));  // no thousands separators
  EXPECT_FALSE(TryStrToFloat("1.2.3", V, Us));
  EXPECT_FALSE(TryStrToFloat("1e", V, Us));
  EXPECT_FALSE(TryStrToFloat("1e999", V, Us));
  EXPECT_FALSE(TryStrToFloat("nan", V, Us));
  EXPECT_TRUE(TryStrToFloat("1e-400", V, Us));  // underflow is zero, not an error
  EXPECT_EQ(V, 0.0);
}

TEST(ConversionsTest, BadFloatsRaiseTheirMessage) {
  EXPECT_EQ(ErrorOf([] { StrToFloat("abc", UnitedStatesFormatSettings()); }),
            "'abc' is not a valid floating point value");
  EXPECT_EQ(ErrorOf([] { StrToFloat("", UnitedStatesFormatSettings()); }), "'' is not a valid floating point value");
}

TEST(ConversionsTest, FloatToStrGeneralForm) {
  const TFormatSettings Us = UnitedStatesFormatSettings();
  EXPECT_EQ(FloatToStr(1234.5, Us), "1234.5");
  EXPECT_EQ(FloatToStr(0.1, Us), "0.1");
  EXPECT_EQ(FloatToStr(42, Us), "42");
  EXPECT_EQ(FloatToStr(-0.25, Us), "-0.25");
  EXPECT_EQ(FloatToStr(1e15, Us), "1E15");
  EXPECT_EQ(FloatToStr(999999999999999.0, Us), "999999999999999");
  EXPECT_EQ(FloatToStr(1.5e-6, Us), "1.5E-6");
  EXPECT_EQ(FloatToStr(0.00001, Us), "0.00001");
  EXPECT_EQ(FloatToStr(1.0 / 3.0, Us), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.5, GermanSettings()), "2,5");
}

TEST(ConversionsTest, FloatTextRoundTrips) {
  const TFormatSettings Us = UnitedStatesFormatSettings();
  for (double V : {0.0, 1.0, -3.25, 1234567.875, 1e-7, 6.02e23})
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(V, Us), Us), V) << V;
}

TEST(ConversionsTest, BooleansAreTheTwoWords) {
  EXPECT_TRUE(StrToBool("TRUE"));
  EXPECT_FALSE(StrToBool("false"));
  EXPECT_EQ(ErrorOf([] { StrToBool("yes"); }), "'yes' is not a valid boolean value");
  EXPECT_EQ(BoolToStr(true), "True");
  EXPECT_EQ(BoolToStr(false), "False");
}

TEST(ConversionsTest, RoundToIntHalvesToEvenAndClamps) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(3.5), 4);
  EXPECT_EQ(RoundToInt(-2.5), -2);
  EXPECT_EQ(RoundToInt(1e20), INT_MAX);
  EXPECT_EQ(RoundToInt(-1e20), INT_MIN);
  EXPECT_EQ(RoundToInt(std::nan("")), 0);
}
