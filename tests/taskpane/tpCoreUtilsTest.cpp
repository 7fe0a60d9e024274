#include "PaneTestSupport.h"
#include "taskpane/tpCoreUtils.h"

using namespace PaneTest;

namespace {
const TColor GradientEnd = RGBColor(198, 215, 247);
}

TEST(tpCoreUtilsTest, InsetRectTakesTheBorderThenOnePixelPerShownLine) {
  RECT Rect = {0, 0, 100, 50};
  InsetRect(4, true, blRight, Rect);
  EXPECT_EQ(Rect.left, 4);
  EXPECT_EQ(Rect.top, 4);
  EXPECT_EQ(Rect.right, 95);
  EXPECT_EQ(Rect.bottom, 46);
  Rect = {0, 0, 100, 50};
  InsetRect(0, false, blLeft | blTop | blRight | blBottom, Rect);
  EXPECT_EQ(Rect.left, 0);
  EXPECT_EQ(Rect.right, 100);
  // The border is an 8-bit value: 260 is taken as 4.
  Rect = {0, 0, 100, 50};
  InsetRect(260, true, blLeft | blTop, Rect);
  EXPECT_EQ(Rect.left, 5);
  EXPECT_EQ(Rect.top, 5);
  EXPECT_EQ(Rect.bottom, 46);
}

TEST(tpCoreUtilsTest, BoundLinesRunAlongTheNamedEdgesOnly) {
  TBitmap Bitmap(20, 10);
  Bitmap.Canvas().Brush().SetColor(clWhite);
  Bitmap.Canvas().FillRect(RECT{0, 0, 20, 10});
  DrawBoundLines(Bitmap.Canvas(), blLeft | blBottom, clRed, RECT{0, 0, 20, 10});
  GdiFlush();
  for (int Y = 0; Y < 10; ++Y) EXPECT_EQ(Bitmap.Pixel(0, Y), RGB(255, 0, 0)) << Y;
  for (int X = 0; X < 20; ++X) EXPECT_EQ(Bitmap.Pixel(X, 9), RGB(255, 0, 0)) << X;
  for (int X = 1; X < 20; ++X) EXPECT_EQ(Bitmap.Pixel(X, 0), RGB(255, 255, 255)) << X;
  for (int Y = 0; Y < 9; ++Y) EXPECT_EQ(Bitmap.Pixel(19, Y), RGB(255, 255, 255)) << Y;
}

TEST(tpCoreUtilsTest, GradientRunsFromStartToEndColourLeftToRight) {
  TBitmap Bitmap;
  BuildGradient(320, 28, clWhite, GradientEnd, 32, false, Bitmap);
  ASSERT_EQ(Bitmap.Width(), 320);
  ASSERT_EQ(Bitmap.Height(), 28);
  for (int Y = 0; Y < 28; ++Y) {
    EXPECT_EQ(Bitmap.Pixel(0, Y), RGB(255, 255, 255));
    EXPECT_EQ(Bitmap.Pixel(319, Y), RGB(198, 215, 247));
  }
  // 32 bands of ten columns, each band one colour, the red channel never rising.
  int LastRed = 256;
  for (int Band = 0; Band < 32; ++Band) {
    const COLORREF Color = Bitmap.Pixel(Band * 10, 0);
    EXPECT_EQ(Bitmap.Pixel(Band * 10 + 9, 27), Color) << Band;
    EXPECT_LE(GetRValue(Color), LastRed);
    LastRed = GetRValue(Color);
  }
  // Entry 1 of 32: 255 + 1 * (198 - 255) / 31 = 253.16 -> 253; 255 + (215 - 255) / 31 = 253.71 -> 254.
  EXPECT_EQ(Bitmap.Pixel(10, 5), RGB(253, 254, 255));
}

TEST(tpCoreUtilsTest, DitheringSpillsThePreviousBandAndRepeatsEverySixteenRows) {
  TBitmap Plain, Bitmap;
  BuildGradient(320, 40, clWhite, GradientEnd, 32, false, Plain);
  BuildGradient(320, 40, clWhite, GradientEnd, 32, true, Bitmap);
  int Spilled = 0;
  for (int Y = 0; Y < 16; ++Y) {
    for (int X = 0; X < 320; ++X) {
      if (Bitmap.Pixel(X, Y) == Plain.Pixel(X, Y)) continue;
      ++Spilled;
      // A spilled pixel carries the colour of the band to its left, within ten columns of the boundary.
      const int BandStart = X / 10 * 10;
      ASSERT_GT(BandStart, 0);
      EXPECT_EQ(Bitmap.Pixel(X, Y), Plain.Pixel(BandStart - 1, Y)) << X << "," << Y;
    }
  }
  EXPECT_GT(Spilled, 31);
  for (int Y = 16; Y < 40; ++Y)
    for (int X = 0; X < 320; ++X) ASSERT_EQ(Bitmap.Pixel(X, Y), Bitmap.Pixel(X, Y % 16)) << X << "," << Y;
}

TEST(tpCoreUtilsTest, DegenerateGradientsNeitherCrashNorDivideByZero) {
  TBitmap Bitmap;
  BuildGradient(50, 10, clRed, clBlue, 1, true, Bitmap);
  EXPECT_EQ(Bitmap.Pixel(49, 9), RGB(255, 0, 0));
  BuildGradient(50, 10, clRed, clBlue, 0, true, Bitmap);
  EXPECT_EQ(Bitmap.Pixel(0, 0), RGB(255, 0, 0));
  BuildGradient(10, 10, clRed, clBlue, 255, true, Bitmap);  // more bands than columns
  EXPECT_GT(GetRValue(Bitmap.Pixel(0, 9)), 200);
  EXPECT_GT(GetBValue(Bitmap.Pixel(9, 9)), 200);
  BuildGradient(0, 10, clRed, clBlue, 32, true, Bitmap);
  EXPECT_TRUE(Bitmap.Empty());
  // System colours are resolved before the arithmetic.
  BuildGradient(40, 4, clBtnFace, clBtnFace, 32, false, Bitmap);
  EXPECT_EQ(Bitmap.Pixel(39, 0), GetSysColor(COLOR_BTNFACE));
}
