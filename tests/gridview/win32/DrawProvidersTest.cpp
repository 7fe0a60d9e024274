// The drawing helpers on their own canvas.
#include <gtest/gtest.h>

#include "gridview/win32/base/DrawProviders.h"
#include "gridview/win32/base/Themes.h"

namespace {
struct DrawProvidersTest : ::testing::Test {
  void SetUp() override {
    Bitmap.SetSize(40, 40);
    Bitmap.Canvas().Brush().SetColor(clWhite);
    Bitmap.Canvas().FillRect(RECT{0, 0, 40, 40});
  }
  TBitmap Bitmap;
  TCanvas& C() { return Bitmap.Canvas(); }
};
}  // namespace

TEST_F(DrawProvidersTest, SystemColoursAreResolvedBeforeBlending) {
  const COLORREF Face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(TGraphicsProvider::BlendColors(clBtnFace, clBlack, 0), clBlack);
  EXPECT_EQ(TGraphicsProvider::BlendColors(clBtnFace, clBtnFace, 255),
            RGBColor(GetRValue(Face) * 255 / 256 + GetRValue(Face) * 0, GetGValue(Face) * 255 / 256,
                     GetBValue(Face) * 255 / 256));
  EXPECT_EQ(TGraphicsProvider::MixColors(clBlack, clWindow, 1.0), static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
}

TEST_F(DrawProvidersTest, GradientOfOneRowIsTheFromColour) {
  TGraphicsProvider::VerticalGradient(C(), RECT{0, 5, 10, 6}, clBlue, clRed);
  EXPECT_EQ(Bitmap.Pixel(3, 5), RGB(255, 0, 0));
  EXPECT_EQ(Bitmap.Pixel(3, 6), RGB(255, 255, 255));
  TGraphicsProvider::HorizontalGradient(C(), RECT{0, 10, 4, 12}, clBlue, clRed);
  EXPECT_EQ(Bitmap.Pixel(0, 10), RGB(255, 0, 0));
  EXPECT_EQ(Bitmap.Pixel(2, 10), RGB(128, 0, 128));                              // 127.5 rounds to even
  TGraphicsProvider::VerticalGradient(C(), RECT{0, 20, 10, 20}, clBlue, clRed);  // empty: nothing
  EXPECT_EQ(Bitmap.Pixel(3, 20), RGB(255, 255, 255));
}

TEST_F(DrawProvidersTest, ButtonFramesLightAndDark) {
  TGraphicsProvider::DrawButtonFrame(C(), RECT{0, 0, 10, 10}, true);
  EXPECT_EQ(Bitmap.Pixel(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Bitmap.Pixel(9, 9), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(Bitmap.Pixel(5, 5), GetSysColor(COLOR_BTNFACE));
  TGraphicsProvider::DrawButtonFrame(C(), RECT{20, 0, 30, 10}, false);
  EXPECT_EQ(Bitmap.Pixel(29, 5), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(DrawProvidersTest, AlphaPicturesMixWithWhatIsThere) {
  TBitmap Picture(2, 1);
  Picture.HasAlpha = true;
  Picture.Pixels()[0] = 0xFF0000FFu;  // opaque blue
  Picture.Pixels()[1] = 0x00000000u;  // fully transparent (premultiplied: no colour left)
  TDrawProvider::DrawGraphic(C(), 5, 5, Picture);
  EXPECT_EQ(Bitmap.Pixel(5, 5), RGB(0, 0, 254));  // alpha 255 still divides by 256
  EXPECT_EQ(Bitmap.Pixel(6, 5),
            RGB(0, 0, 0) + RGB(0, 254 * 0, 0) + RGB(255 * 255 / 256, 255 * 255 / 256, 255 * 255 / 256));
  Picture.HasAlpha = false;  // a plain picture is copied, whatever its alpha bytes say
  Picture.Pixels()[1] = 0x00FF0000u;
  TDrawProvider::DrawGraphic(C(), 10, 5, Picture);
  EXPECT_EQ(Bitmap.Pixel(11, 5), RGB(255, 0, 0));
}

TEST_F(DrawProvidersTest, ClassicCheckBoxTick) {
  TGraphicsProvider::DrawCheckBox(nullptr, C(), false, false, true, vaTop, taLeftJustify, RECT{0, 0, 20, 20}, false);
  EXPECT_EQ(Bitmap.Pixel(2, 2), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(Bitmap.Pixel(12, 12), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(Bitmap.Pixel(2 + 2, 2 + 6), GetSysColor(COLOR_WINDOWTEXT));  // third stroke of the tick
  EXPECT_EQ(Bitmap.Pixel(2 + 8, 2 + 2), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(Bitmap.Pixel(2 + 8, 2 + 8), GetSysColor(COLOR_WINDOW));
  const RECT Box = TGraphicsProvider::CheckBoxRect(vaMiddle, taCenter, RECT{0, 0, 20, 20}, true);
  EXPECT_EQ(Box.left, 10 - 6);
  EXPECT_EQ(Box.right - Box.left, 13);
}

TEST_F(DrawProvidersTest, TextLineEndsWithAnEllipsisAndLeavesASolidBrush) {
  C().Brush().SetColor(clWhite);
  TGraphicsProvider::DrawTextLine(C(), RECT{0, 0, 30, 16}, false, u"Wide text that does not fit", taLeftJustify);
  EXPECT_EQ(C().Brush().Style(), bsSolid);
  bool Ink = false;
  for (int X = 30; X < 40; ++X)
    for (int Y = 0; Y < 16; ++Y) Ink = Ink || Bitmap.Pixel(X, Y) != RGB(255, 255, 255);
  EXPECT_FALSE(Ink);
}

TEST(ThemeServicesTest, SuppressedThemesAreNeverActive) {
  ThemeServices().SetSuppressed(true);
  EXPECT_FALSE(ThemeServices().ThemesActive());
  EXPECT_EQ(ThemeServices().Theme(L"HEADER"), nullptr);
  ThemeServices().SetSuppressed(false);
  ThemeServices().ThemesActive();  // answers either way without failing
}
