#include <gtest/gtest.h>

#include "toolkit/Bitmap.h"
#include "toolkit/ImageList.h"

namespace {
constexpr COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0), Red = RGB(255, 0, 0);

TBitmap& Blank(TBitmap& Bitmap, int Width, int Height) {
  Bitmap.SetSize(Width, Height);
  Bitmap.Canvas().Brush().SetColor(clWhite);
  Bitmap.Canvas().FillRect(RECT{0, 0, Width, Height});
  return Bitmap;
}
}  // namespace

TEST(CanvasTest, LinesLeaveOutTheirEndPoint) {
  TBitmap Bitmap;
  TCanvas& Canvas = Blank(Bitmap, 10, 10).Canvas();
  Canvas.Pen().SetColor(clBlack);
  Canvas.Line(1, 1, 5, 1);
  EXPECT_EQ(Bitmap.Pixel(1, 1), Black);
  EXPECT_EQ(Bitmap.Pixel(4, 1), Black);
  EXPECT_EQ(Bitmap.Pixel(5, 1), White);
  Canvas.Polyline({{1, 3}, {4, 3}, {4, 7}});
  EXPECT_EQ(Bitmap.Pixel(4, 3), Black);
  EXPECT_EQ(Bitmap.Pixel(4, 6), Black);
  EXPECT_EQ(Bitmap.Pixel(4, 7), White);
}

TEST(CanvasTest, FillFrameAndInvert) {
  TBitmap Bitmap;
  TCanvas& Canvas = Blank(Bitmap, 10, 10).Canvas();
  Canvas.Brush().SetColor(clRed);
  Canvas.FrameRect(RECT{2, 2, 8, 8});
  EXPECT_EQ(Bitmap.Pixel(2, 2), Red);
  EXPECT_EQ(Bitmap.Pixel(7, 7), Red);
  EXPECT_EQ(Bitmap.Pixel(8, 8), White);
  EXPECT_EQ(Bitmap.Pixel(4, 4), White);
  Canvas.InvertRect(RECT{0, 0, 1, 1});
  EXPECT_EQ(Bitmap.Pixel(0, 0), Black);
}

TEST(CanvasTest, SystemColoursResolveBeforeDrawing) {
  TBitmap Bitmap;
  TCanvas& Canvas = Blank(Bitmap, 4, 4).Canvas();
  Canvas.Brush().SetColor(clBtnFace);
  Canvas.FillRect(RECT{0, 0, 4, 4});
  EXPECT_EQ(Bitmap.Pixel(1, 1), GetSysColor(COLOR_BTNFACE));
}

TEST(CanvasTest, FontChangesWhileSelectedKeepDrawingRight) {
  TBitmap Bitmap;
  TCanvas& Canvas = Blank(Bitmap, 200, 40).Canvas();
  Canvas.Font().SetName("Tahoma");
  Canvas.Font().SetSize(8);
  const int Narrow = Canvas.TextWidth(std::string_view("Wide text"));
  Canvas.Font().SetStyle(fsBold);
  Canvas.Font().SetSize(16);
  const int Wide = Canvas.TextWidth(std::string_view("Wide text"));
  EXPECT_GT(Wide, Narrow);
  Canvas.Font().SetColor(clRed);
  Canvas.TextOut(0, 0, std::string_view("W"));
  bool SawRed = false;
  for (int Y = 0; Y < 30 && !SawRed; ++Y)
    for (int X = 0; X < 30 && !SawRed; ++X) SawRed = Bitmap.Pixel(X, Y) == Red;
  EXPECT_TRUE(SawRed);
}

TEST(CanvasTest, DrawTextEllipsisAndClipRestore) {
  TBitmap Bitmap;
  TCanvas& Canvas = Blank(Bitmap, 100, 20).Canvas();
  RECT Rect = {0, 0, 30, 20};
  const int Height = Canvas.DrawText(std::string_view("a long text that cannot fit"), Rect,
                                     DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  EXPECT_GT(Height, 0);
  // Nothing is drawn right of the rectangle.
  for (int X = 31; X < 100; ++X)
    for (int Y = 0; Y < 20; ++Y) ASSERT_EQ(Bitmap.Pixel(X, Y), White) << X << "," << Y;
  {
    TCanvas::TClipSave Save(Canvas);
    Canvas.IntersectClipRect(RECT{0, 0, 5, 5});
    Canvas.Brush().SetColor(clBlack);
    Canvas.FillRect(RECT{0, 0, 100, 20});
    EXPECT_EQ(Bitmap.Pixel(10, 10), White);
  }
  Canvas.FillRect(RECT{0, 0, 100, 20});
  EXPECT_EQ(Bitmap.Pixel(10, 10), Black);
}

TEST(CanvasTest, TransparentBitmapLeavesItsKeyColourOut) {
  TBitmap Picture;
  Blank(Picture, 4, 4);
  Picture.Canvas().SetPixel(1, 1, clRed);
  TBitmap Target;
  Blank(Target, 8, 8).Canvas().Brush().SetColor(clBlack);
  Target.Canvas().FillRect(RECT{0, 0, 8, 8});
  Target.Canvas().DrawTransparent(2, 2, Picture, clWhite);
  EXPECT_EQ(Target.Pixel(3, 3), Red);
  EXPECT_EQ(Target.Pixel(2, 2), Black);
}

TEST(CanvasTest, ImageListDrawsByIndexAndIgnoresOthers) {
  TBitmap Strip;
  Blank(Strip, 32, 16);
  Strip.Canvas().Brush().SetColor(clRed);
  Strip.Canvas().FillRect(RECT{4, 4, 12, 12});  // image 0: red square
  Strip.Canvas().Brush().SetColor(clBlue);
  Strip.Canvas().FillRect(RECT{20, 4, 28, 12});  // image 1: blue square
  TImageList Images(16, 16);
  EXPECT_EQ(Images.AddMasked(Strip, clWhite), 0);
  EXPECT_EQ(Images.Count(), 2);
  TBitmap Target;
  Blank(Target, 16, 16);
  Images.Draw(Target.Canvas(), 0, 0, 0);
  EXPECT_EQ(Target.Pixel(8, 8), Red);
  EXPECT_EQ(Target.Pixel(1, 1), White);  // the mask colour stays transparent
  Blank(Target, 16, 16);
  Images.Draw(Target.Canvas(), 0, 0, -1);
  Images.Draw(Target.Canvas(), 0, 0, 2);
  EXPECT_EQ(Target.Pixel(8, 8), White);
}

TEST(CanvasTest, ResampledPictureKeepsItsMaskColourOutOfTheEdges) {
  // A red square on the mask colour, drawn half as large again: every pixel comes out either the
  // mask colour or pure red, never a pink blend that would show as a fringe.
  TBitmap Picture;
  Blank(Picture, 4, 4).Canvas().Brush().SetColor(clRed);
  Picture.Canvas().FillRect(RECT{1, 1, 3, 3});
  TBitmap Larger;
  ResampleBitmap(Picture, 6, 6, Larger, clWhite);
  ASSERT_EQ(Larger.Width(), 6);
  int RedPixels = 0;
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 6; ++X) {
      const COLORREF P = Larger.Pixel(X, Y);
      EXPECT_TRUE(P == White || P == Red) << X << "," << Y;
      RedPixels += P == Red;
    }
  // The square spans 1.5 to 4.5 now: its half-covered edge pixels are red, its quarter-covered
  // corners are not, the same on all four sides.
  EXPECT_EQ(RedPixels, 12);
  EXPECT_EQ(Larger.Pixel(1, 2), Red);
  EXPECT_EQ(Larger.Pixel(4, 3), Red);
  EXPECT_EQ(Larger.Pixel(1, 1), White);
  EXPECT_EQ(Larger.Pixel(4, 4), White);
}
