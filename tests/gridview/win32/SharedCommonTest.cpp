#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "gridview/SharedCommon.h"

TEST(CalcProviderTest, AlignBoxPlacesByAlignmentAndMargin) {
  const TGridRect Cell{0, 0, 20, 16};
  EXPECT_EQ(TCalcProvider::AlignBox(16, 16, vaMiddle, taLeftJustify, Cell, 2), (TGridPoint{2, 0}));
  // Centring uses integer division and ignores the margin: 10 - 13 div 2 = 4.
  EXPECT_EQ(TCalcProvider::AlignBox(13, 13, vaTop, taCenter, Cell, 2), (TGridPoint{4, 2}));
  EXPECT_EQ(TCalcProvider::AlignBox(5, 4, vaBottom, taRightJustify, Cell, 2), (TGridPoint{13, 10}));
  // A box larger than the rectangle still lands where the arithmetic puts it.
  EXPECT_EQ(TCalcProvider::AlignBox(30, 30, vaMiddle, taCenter, Cell, 0), (TGridPoint{-5, -7}));
}

TEST(CalcProviderTest, RectsTouchCountsSharedEdges) {
  const TGridRect A{0, 0, 10, 10};
  EXPECT_TRUE(TCalcProvider::RectsTouch(A, TGridRect{10, 0, 20, 10}));
  EXPECT_TRUE(TCalcProvider::RectsTouch(A, TGridRect{5, 5, 6, 6}));
  EXPECT_TRUE(TCalcProvider::RectsTouch(A, TGridRect{-5, 10, 0, 20}));
  EXPECT_FALSE(TCalcProvider::RectsTouch(A, TGridRect{11, 0, 20, 10}));
  EXPECT_FALSE(TCalcProvider::RectsTouch(A, TGridRect{0, -9, 10, -1}));
}

TEST(CalcProviderTest, AdjustRectAndPercent) {
  EXPECT_EQ(TCalcProvider::AdjustRect(TGridRect{10, 10, 50, 30}, 2, 1, -2, -1), (TGridRect{12, 11, 48, 29}));
  EXPECT_DOUBLE_EQ(TCalcProvider::Percent(200, 50), 25.0);
  EXPECT_DOUBLE_EQ(TCalcProvider::Percent(100, 150), 150.0);
}

TEST(ColorMathTest, BlendDividesBy256) {
  EXPECT_EQ(BlendRGB(clWhite, clBlack, 255), RGBColor(254, 254, 254));
  EXPECT_EQ(BlendRGB(clWhite, clBlack, 0), clBlack);
  EXPECT_EQ(BlendRGB(RGBColor(200, 100, 0), RGBColor(0, 100, 200), 128), RGBColor(100, 99, 99));
}

TEST(ColorMathTest, AlphaOf256IsACallersMistake) {
  // Debug builds stop; release builds clamp to 255.
  EXPECT_DEBUG_DEATH(EXPECT_EQ(BlendRGB(clWhite, clBlack, 256), RGBColor(254, 254, 254)), "alpha");
}

TEST(ColorMathTest, MixRoundsHalvesToEven) {
  EXPECT_EQ(MixRGB(clBlack, clWhite, 0.0), clBlack);
  EXPECT_EQ(MixRGB(clBlack, clWhite, 1.0), clWhite);
  // 1 x 0.5 = 0.5 -> 0; 3 x 0.5 = 1.5 -> 2.
  EXPECT_EQ(MixRGB(clBlack, RGBColor(1, 3, 5), 0.5), RGBColor(0, 2, 2));
}

TEST(ColorMathTest, SortedColumnShading) {
  EXPECT_EQ(ScaleRGB(clWhite, 245), RGBColor(244, 244, 244));
  EXPECT_EQ(ScaleRGB(RGBColor(100, 10, 0), 245), RGBColor(95, 9, 0));
}

TEST(HtmlColorTest, TableHasTheWebColoursInOrder) {
  ASSERT_EQ(HtmlColorCount(), 141);
  EXPECT_STREQ(HtmlColorAt(0).Name, "transparent");
  EXPECT_STREQ(HtmlColorAt(0).Code, "#FFFFFF");
  EXPECT_STREQ(HtmlColorAt(1).Name, "aliceblue");
  EXPECT_STREQ(HtmlColorAt(140).Name, "yellowgreen");
  std::set<std::string> Names;
  for (int I = 1; I < HtmlColorCount(); ++I) {
    const std::string Name = HtmlColorAt(I).Name, Code = HtmlColorAt(I).Code;
    if (I > 1) {
      EXPECT_LT(std::string(HtmlColorAt(I - 1).Name), Name);
    }
    ASSERT_EQ(Code.size(), 7u) << Name;
    for (char C : Code.substr(1)) EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(C))) << Name;
    Names.insert(Name);
  }
  EXPECT_EQ(Names.size(), 140u);
  EXPECT_EQ(Names.count("lightgrey"), 1u);
  EXPECT_EQ(Names.count("lightgray"), 0u);
  for (const char* Gray : {"darkgray", "dimgray", "gray", "lightslategray", "slategray", "darkslategray"})
    EXPECT_EQ(Names.count(Gray), 1u) << Gray;
  EXPECT_THROW(HtmlColorAt(141), EListError);
}

TEST(HtmlColorTest, NamesAndCodesBecomeColours) {
  EXPECT_EQ(HtmlToColor("Red"), clRed);
  EXPECT_EQ(HtmlToColor("#00FF00"), clLime);
  EXPECT_EQ(HtmlToColor("#0000ff"), clBlue);
  EXPECT_EQ(HtmlToColor("navy"), clNavy);
  EXPECT_EQ(HtmlToColor("CornflowerBlue"), RGBColor(0x64, 0x95, 0xED));
  EXPECT_EQ(HtmlColorCode("LightGrey"), "#D3D3D3");
  EXPECT_EQ(HtmlColorCode("nosuchcolour"), "nosuchcolour");
}

TEST(HtmlColorTest, UnreadableTextGivesNoColour) {
  EXPECT_EQ(HtmlToColor("nosuchcolour"), clNone);
  EXPECT_EQ(HtmlToColor(""), clNone);
  EXPECT_EQ(HtmlToColor("#"), clNone);
  EXPECT_EQ(HtmlToColor("#12345G"), clNone);
  EXPECT_EQ(HtmlToColor("#1234567"), clNone);
  EXPECT_EQ(clNone, 536870911);
}
