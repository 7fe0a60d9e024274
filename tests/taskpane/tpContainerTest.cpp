#include "PaneTestSupport.h"
#include "taskpane/tpContainer.h"

using namespace PaneTest;

namespace {

const TColor Container2Color = 14319721, Container2Bound = 10042918, Container3Color = 16244694;

struct tpContainerTest : FormTest {
  // The main window's top band and its criteria panel, as the window sets them up.
  void MakeContainer2(TtpContainer& Container) {
    Container.SetBounds(0, 0, 682, 136);
    Container.SetColor(Container2Color);
    Container.SetBoundLines(blRight);
    Container.SetBoundColor(Container2Bound);
    Container.SetBorderWidth(4);
  }
  void MakeContainer3(TtpContainer& Container) {
    Container.SetBounds(4, 39, 482, 88);
    Container.SetColor(Container3Color);
    Container.SetBoundLines(blLeft | blRight | blBottom);
    Container.SetBoundColor(clWhite);
  }
};

void ExpectRect(const RECT& Rect, int Left, int Top, int Right, int Bottom) {
  EXPECT_EQ(Rect.left, Left);
  EXPECT_EQ(Rect.top, Top);
  EXPECT_EQ(Rect.right, Right);
  EXPECT_EQ(Rect.bottom, Bottom);
}

}  // namespace

TEST_F(tpContainerTest, NewContainerHasItsDefaults) {
  TtpContainer Container(&Form);
  EXPECT_EQ(Container.Width(), 185);
  EXPECT_EQ(Container.Height(), 41);
  EXPECT_EQ(Container.Alignment(), taCenter);
  EXPECT_EQ(Container.BoundColor(), RGBColor(128, 128, 128));
  EXPECT_EQ(Container.BoundLines(), 0u);
  EXPECT_EQ(Container.EnabledMode(), emNormal);
  EXPECT_EQ(Container.Spacing(), 5);
  EXPECT_TRUE(Container.ShowBoundLines());
  EXPECT_FALSE(Container.ShowCaption());
  EXPECT_EQ(Container.RepaintTriggers(), tpDefaultRepaintTriggers);
}

TEST_F(tpContainerTest, TopBandHasOneDarkLineOnTheRightAndChildrenFourAndFivePixelsIn) {
  TtpContainer Container2(&Form);
  MakeContainer2(Container2);
  auto Bitmap = PaintToBitmap(Container2);
  const COLORREF Fill = Rgb(Container2Color), Line = Rgb(Container2Bound);
  // The side line runs from the top to the last row but one, as lines leave out their end point.
  for (int Y = 0; Y < 135; ++Y) ASSERT_EQ(Bitmap->Pixel(681, Y), Line) << Y;
  EXPECT_EQ(Bitmap->Pixel(681, 135), Fill);
  for (int Y = 0; Y < 136; ++Y) {
    ASSERT_EQ(Bitmap->Pixel(680, Y), Fill) << Y;
    ASSERT_EQ(Bitmap->Pixel(0, Y), Fill) << Y;
  }
  for (int X = 0; X < 681; ++X) {
    ASSERT_EQ(Bitmap->Pixel(X, 0), Fill) << X;
    ASSERT_EQ(Bitmap->Pixel(X, 135), Fill) << X;
  }
  ExpectRect(Container2.ChildArea(), 4, 4, 677, 132);
}

TEST_F(tpContainerTest, CriteriaPanelHasWhiteLinesLeftRightAndBottomAndChildrenOnePixelIn) {
  TtpContainer Container3(&Form);
  MakeContainer3(Container3);
  auto Bitmap = PaintToBitmap(Container3);
  const COLORREF Fill = Rgb(Container3Color), White = RGB(255, 255, 255);
  for (int Y = 0; Y < 88; ++Y) {  // the bottom line covers the side lines' missing end points
    ASSERT_EQ(Bitmap->Pixel(0, Y), White) << Y;
    ASSERT_EQ(Bitmap->Pixel(481, Y), White) << Y;
  }
  for (int X = 0; X < 482; ++X) ASSERT_EQ(Bitmap->Pixel(X, 87), White) << X;
  for (int X = 1; X < 481; ++X) ASSERT_EQ(Bitmap->Pixel(X, 0), Fill) << X;
  EXPECT_EQ(Bitmap->Pixel(1, 1), Fill);
  EXPECT_EQ(Bitmap->Pixel(480, 86), Fill);
  ExpectRect(Container3.ChildArea(), 1, 0, 481, 87);
}

TEST_F(tpContainerTest, HiddenBoundLinesTakeTheirInsetsWithThem) {
  TtpContainer Container3(&Form);
  MakeContainer3(Container3);
  int Realigned = 0;
  Container3.OnAlignChildren = [&](TObject*) { ++Realigned; };
  Container3.SetShowBoundLines(false);
  EXPECT_EQ(Realigned, 1);
  Container3.SetShowBoundLines(false);  // unchanged: nothing happens
  EXPECT_EQ(Realigned, 1);
  auto Bitmap = PaintToBitmap(Container3);
  const COLORREF Fill = Rgb(Container3Color);
  EXPECT_EQ(Bitmap->Pixel(0, 40), Fill);
  EXPECT_EQ(Bitmap->Pixel(481, 40), Fill);
  EXPECT_EQ(Bitmap->Pixel(200, 87), Fill);
  ExpectRect(Container3.ChildArea(), 0, 0, 482, 88);
}

TEST_F(tpContainerTest, WideCaptionIsDrawnLeftAlignedWithAnEllipsis) {
  TtpContainer Container(&Form);
  Container.SetBounds(0, 0, 120, 30);
  Container.SetColor(clWhite);
  Container.Font().SetColor(clBlack);
  Container.SetCaption("A caption far too wide for this narrow container");
  Container.SetShowCaption(true);
  ASSERT_EQ(Container.Alignment(), taCenter);
  auto Bitmap = PaintToBitmap(Container);

  // The same text drawn left-aligned with an ellipsis in the inner rectangle (5 pixels spacing, 1 down).
  TBitmap Expected(120, 30);
  TCanvas& Canvas = Expected.Canvas();
  Canvas.Brush().SetColor(clWhite);
  Canvas.FillRect(RECT{0, 0, 120, 30});
  Canvas.Font().Assign(Container.Font());
  RECT Inner = {5, 1, 115, 29};
  const UINT Flags = DT_LEFT | DT_EXPANDTABS | DT_END_ELLIPSIS;
  RECT Measured = Inner;
  Canvas.DrawText(Container.Caption(), Measured, Flags | DT_CALCRECT);
  OffsetRect(&Inner, 0, (Inner.bottom - Measured.bottom) / 2);
  Canvas.DrawText(Container.Caption(), Inner, Flags);
  GdiFlush();
  int Differences = 0, Ink = 0;
  for (int Y = 0; Y < 30; ++Y)
    for (int X = 0; X < 120; ++X) {
      if (Bitmap->Pixel(X, Y) != Expected.Pixel(X, Y)) ++Differences;
      if (Bitmap->Pixel(X, Y) != RGB(255, 255, 255)) ++Ink;
    }
  EXPECT_EQ(Differences, 0);
  EXPECT_GT(Ink, 50);
  // The text starts at the inner left edge, not centred.
  EXPECT_GT(CountInk(*Bitmap, RECT{5, 0, 9, 30}, RGB(255, 255, 255)), 0);
  EXPECT_EQ(CountInk(*Bitmap, RECT{0, 0, 5, 30}, RGB(255, 255, 255)), 0);
}

TEST_F(tpContainerTest, NarrowCaptionIsCentred) {
  TtpContainer Container(&Form);
  Container.SetBounds(0, 0, 200, 30);
  Container.SetColor(clWhite);
  Container.SetCaption("Hi");
  Container.SetShowCaption(true);
  auto Bitmap = PaintToBitmap(Container);
  EXPECT_EQ(CountInk(*Bitmap, RECT{0, 0, 80, 30}, RGB(255, 255, 255)), 0);
  EXPECT_GT(CountInk(*Bitmap, RECT{80, 0, 120, 30}, RGB(255, 255, 255)), 0);
}

TEST_F(tpContainerTest, OnPaintReceivesTheInnerRectangleAndGlyphShiftsTheChildArea) {
  TtpContainer Container(&Form);
  MakeContainer2(Container);
  RECT Painted = {};
  Container.OnPaint = [&](TObject* Sender, RECT& Rect, TCanvas&, TFont&) {
    EXPECT_EQ(Sender, &Container);
    Painted = Rect;
  };
  Container.Glyph().SetSize(16, 16);
  Container.Glyph().Canvas().Brush().SetColor(clRed);
  Container.Glyph().Canvas().FillRect(RECT{0, 0, 16, 16});
  Container.Glyph().Canvas().Brush().SetColor(clLime);
  Container.Glyph().Canvas().FillRect(RECT{4, 4, 12, 12});
  Container.Glyph().Canvas().SetPixel(0, 15, clFuchsia);  // the lower-left pixel is the clear colour
  Container.GlyphChanged();
  auto Bitmap = PaintToBitmap(Container);
  ExpectRect(Painted, 4, 4, 677, 132);
  ExpectRect(Container.ChildArea(), 20, 4, 677, 132);
  // glCenter: y = (132 - 4 - 16) div 2 + 1 = 57, at the inner left.
  EXPECT_EQ(Bitmap->Pixel(4 + 8, 57 + 8), RGB(0, 255, 0));
  EXPECT_EQ(Bitmap->Pixel(4, 57), RGB(255, 0, 0));
  EXPECT_EQ(Bitmap->Pixel(4, 57 + 15), Rgb(Container2Color));
}

TEST_F(tpContainerTest, ChildrenTakeTheParentColourUntilGivenTheirOwn) {
  TtpContainer Outer(&Form);
  Outer.SetColor(Container2Color);
  TtpContainer Follower(&Outer), Own(&Outer);
  EXPECT_EQ(Follower.Color(), Container2Color);
  EXPECT_TRUE(Follower.ParentColor());
  Own.SetColor(Container3Color);
  EXPECT_FALSE(Own.ParentColor());
  Outer.SetColor(clRed);
  EXPECT_EQ(Follower.Color(), clRed);
  EXPECT_EQ(Own.Color(), Container3Color);
  Own.SetParentColor(true);
  EXPECT_EQ(Own.Color(), clRed);
}

TEST_F(tpContainerTest, AffectChildsModePassesTheEnabledStateOn) {
  TtpContainer Container(&Form);
  TtpContainer Child(&Container);
  int Changes = 0;
  Container.OnEnabledChanged = [&](TObject*) { ++Changes; };
  Container.SetEnabled(false);
  EXPECT_TRUE(Child.Enabled());
  EXPECT_EQ(Changes, 1);
  Container.SetEnabledMode(emAffectChilds);  // applied at once
  EXPECT_FALSE(Child.Enabled());
  EXPECT_EQ(Changes, 2);
  Container.SetEnabled(true);
  EXPECT_TRUE(Child.Enabled());
}

TEST_F(tpContainerTest, PressWithoutFocusableMarksClickedButKeepsTheFocusAway) {
  TtpContainer Container(&Form);
  Container.SetBounds(0, 0, 100, 40);
  Form.HandleNeeded();
  SetFocus(Form.Handle());
  Container.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(Container.DrawState() & dsClicked);
  EXPECT_FALSE(Container.Focused());
  Container.Perform(WM_LBUTTONUP, 0, At(5, 5));
}
