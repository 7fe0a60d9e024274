// Pictures of the toolkit's formats in the grid's picture paths: graphic cells, rate glyphs and
// header glyphs, each mixed over what is below by its alpha.
#include "GridTestSupport.h"
#include "gif/GifEncoder.h"
#include "gridview/win32/base/DrawProviders.h"
#include "toolkit/GifImage.h"
#include "toolkit/Picture.h"

namespace {

// A picture drawn with its alpha is mixed by the grid's rule, which divides by 256: opaque red
// comes out 254, and a clear pixel leaves the background a shade darker.
const COLORREF MixedRed = RGB(254, 0, 0);
COLORREF UnderClear(COLORREF Background) {
  return RGB(GetRValue(Background) * 255 / 256, GetGValue(Background) * 255 / 256, GetBValue(Background) * 255 / 256);
}

// 8 x 8 frames: the left half clear, the right half the frame's colour.
std::unique_ptr<TGifImage> HalfClearGif(const std::vector<TArgb>& Colours) {
  std::vector<TTrueColourFrame> Frames;
  for (TArgb Colour : Colours) {
    TTrueColourFrame Frame;
    Frame.Width = Frame.Height = 8;
    for (int I = 0; I < 64; ++I) Frame.Pixels.push_back(I % 8 < 4 ? 0 : Colour);
    Frames.push_back(Frame);
  }
  auto Gif = std::make_unique<TGifImage>();
  Gif->LoadFromBytes(EncodeGif(Frames));
  return Gif;
}

struct PicturePathsTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetOptions(TGridOptions{});  // rows start at the top
    Grid->SetBounds(0, 0, 300, 100);
    Grid->Model().SetCurrentCell(-1, -1, 0);
  }
  const COLORREF Window = Sys(COLOR_WINDOW);
};

TEST_F(PicturePathsTest, GraphicCellsShowAnyPictureWithItsAlphaAndItsCurrentFrame) {
  auto* Column = AddColumn<TGraphicColumn>(40);
  Column->SetMargin(0);
  Column->SetBorderWidth(0);
  Column->SetStrecht(true);
  Grid->SetRowSize(16);
  Grid->Model().AddRows(2);
  auto Gif = HalfClearGif({0xFFFF0000u, 0xFF0000FFu});
  TPicture Picture;
  Picture.SetGraphic(HalfClearGif({0xFFFF0000u}));
  Grid->Model().GetCell(0, 0)->SetObject(Gif.get());
  Grid->Model().GetCell(0, 1)->SetObject(&Picture);
  Paint();
  for (int Row : {0, 1}) {
    EXPECT_EQ(Px(5, Row * 16 + 8), UnderClear(Window)) << Row;  // the clear half shows the cell
    EXPECT_EQ(Px(35, Row * 16 + 8), MixedRed) << Row;           // stretched to 40 x 16
  }
  Gif->SetFrame(1);
  Paint();
  EXPECT_EQ(Px(35, 8), RGB(0, 0, 254));
}

TEST_F(PicturePathsTest, RateAndHeaderGlyphsFromPicturesKeepTheirAlpha) {
  auto* Rate = AddColumn<TRateColumn>(60);
  auto Gif = HalfClearGif({0xFFFF0000u});
  Rate->SetGlyph(GlyphOf(*Gif));
  Rate->SetEmptyGlyph(GlyphOf(*Gif));
  Rate->SetTransparent(true);  // alpha says what shows; the corner colour is not consulted
  Rate->Header().SetGlyph(GlyphOf(*Gif));
  Rate->Header().SetDisplayMode(dmImageOnly);
  Grid->SetOptions(TGridOptions{goHeader});
  Grid->Model().AddRows(1);
  Grid->Model().SetCellText(0, 0, u"2");
  Paint();
  const int Top = Grid->HeaderSize();
  EXPECT_EQ(Px(1, Top + 8), UnderClear(Window));
  EXPECT_EQ(Px(6, Top + 8), MixedRed);
  EXPECT_EQ(Px(9, Top + 8), UnderClear(Window));  // the second glyph's clear half
  // The header glyph sits at left + 1 + the classic indent of 2, vertically centred.
  EXPECT_EQ(Px(4, Top / 2), UnderClear(Sys(COLOR_BTNFACE)));
  EXPECT_EQ(Px(8, Top / 2), MixedRed);
}

}  // namespace
