// Pictures by format: the registry of extensions, BMP and GIF files, conversion between them, and
// the painter thread that plays an animation.
#include <gtest/gtest.h>

#include <thread>

#include "gif/GifEncoder.h"
#include "platform/Platform.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Application.h"
#include "toolkit/BitmapImage.h"
#include "toolkit/GifImage.h"
#include "toolkit/Picture.h"

namespace {

constexpr std::uint32_t Red = 0xFFFF0000u, Blue = 0xFF0000FFu, Green = 0xFF00FF00u;

// Frames of Width x 1 pixels, frame I all of Colours[I], with a transparent first pixel in each.
std::vector<std::uint8_t> AnimatedGif(const std::vector<std::uint32_t>& Colours, int Delay, int LoopCount) {
  std::vector<TTrueColourFrame> Frames;
  for (std::uint32_t C : Colours) {
    TTrueColourFrame F;
    F.Width = 3;
    F.Height = 1;
    F.Pixels = {0, C, C};
    F.Delay = Delay;
    Frames.push_back(F);
  }
  TGifEncodeOptions Options;
  Options.LoopCount = LoopCount;
  return EncodeGif(Frames, Options);
}

std::uint32_t PixelOf(TGraphic& Graphic, int X, int Y) {
  GdiFlush();
  return Graphic.Bitmap().Pixels()[Y * Graphic.Width() + X];
}

template <typename TCondition>
bool PumpUntil(TCondition Done, DWORD Budget = 10000) {
  const DWORD Deadline = GetTickCount() + Budget;
  while (!Done() && GetTickCount() < Deadline) {
    Application().ProcessMessages();
    Sleep(2);
  }
  return Done();
}

TEST(PictureTest, LoadFromFilePicksTheFormatByItsExtension) {
  TTempFolder Folder;
  const std::vector<std::uint8_t> Gif = AnimatedGif({Red, Blue}, 5, 0);
  Folder.WriteFile("moving.GIF", std::string(Gif.begin(), Gif.end()));
  Folder.WriteFile("moving.png", std::string(Gif.begin(), Gif.end()));
  Folder.WriteFile("moving.bmp", std::string(Gif.begin(), Gif.end()));
  TPicture Picture;
  Picture.LoadFromFile(PlatformFileSystem(), Folder.Path("moving.GIF"));
  auto* Loaded = dynamic_cast<TGifImage*>(Picture.Graphic());
  ASSERT_NE(Loaded, nullptr);
  EXPECT_EQ(Loaded->FrameCount(), 2);
  EXPECT_EQ(PixelOf(*Loaded, 1, 0), Red);
  EXPECT_EQ(PixelOf(*Loaded, 0, 0) >> 24, 0u);
  EXPECT_TRUE(Picture.Bitmap()->HasAlpha);
  try {
    Picture.LoadFromFile(PlatformFileSystem(), Folder.Path("moving.png"));
    FAIL() << "no PNG format is registered";
  } catch (const EInvalidGraphic& Error) {
    EXPECT_STREQ(Error.what(), "Unknown picture file extension (.PNG)");
  }
  EXPECT_THROW(Picture.LoadFromFile(PlatformFileSystem(), Folder.Path("moving.bmp")), EInvalidGraphic);
  EXPECT_EQ(Picture.Graphic(), Loaded);  // a failed load leaves the picture as it was
}

TEST(PictureTest, SavingToAnotherExtensionConvertsThePicture) {
  TTempFolder Folder;
  auto Bitmap = std::make_unique<TBitmapImage>();
  // Premultiplied, as bitmaps hold them: the fourth is (0x20, 0x40, 0x60) at half alpha.
  const std::uint32_t Pixels[6] = {Red, Blue, Green, 0x80102030u, 0x00000000u, 0xFF123456u};
  SetBitmapPixels(Bitmap->Bitmap(), 3, 2, Pixels);
  TPicture Picture;
  Picture.SetGraphic(std::move(Bitmap));
  Picture.SaveToFile(PlatformFileSystem(), Folder.Path("a.bmp"));
  Picture.SaveToFile(PlatformFileSystem(), Folder.Path("a.gif"));
  TPicture FromBmp, FromGif;
  FromBmp.LoadFromFile(PlatformFileSystem(), Folder.Path("a.bmp"));
  FromGif.LoadFromFile(PlatformFileSystem(), Folder.Path("a.gif"));
  ASSERT_TRUE(dynamic_cast<TBitmapImage*>(FromBmp.Graphic()));
  ASSERT_TRUE(dynamic_cast<TGifImage*>(FromGif.Graphic()));
  for (int I = 0; I < 6; ++I) {
    EXPECT_EQ(PixelOf(*FromBmp.Graphic(), I % 3, I / 3), Pixels[I]) << I;
    // A GIF pixel is opaque or not there at all.
    const std::uint32_t Shown = (Pixels[I] >> 24) >= 128 ? (Unpremultiplied(Pixels[I]) | 0xFF000000u) : 0;
    const std::uint32_t Got = PixelOf(*FromGif.Graphic(), I % 3, I / 3);
    EXPECT_EQ(Got >> 24 ? Got : 0, Shown) << I;
  }
  TBitmap Copy;
  FromGif.Graphic()->AssignTo(Copy);
  EXPECT_EQ(Copy.Width(), 3);
  EXPECT_TRUE(Copy.HasAlpha);
}

TEST(BitmapImageTest, ReadsAPalettedBitmapThroughThePlatform) {
  // 2 x 2, 8 bits a pixel, a table of two colours; rows bottom first, each padded to 4 bytes.
  std::vector<std::uint8_t> Bmp = {
      'B', 'M', 70, 0, 0,   0, 0,   0, 0, 0, 62, 0, 0, 0,  // file header
      40,  0,   0,  0, 2,   0, 0,   0, 2, 0, 0,  0, 1, 0, 8, 0, 0, 0, 0, 0,
      8,   0,   0,  0, 0,   0, 0,   0, 0, 0, 0,  0, 2, 0, 0, 0, 0, 0, 0, 0,  // information header
      0,   0,   0,  0, 255, 0, 255, 0,                                       // black, magenta
      0,   0,   0,  0, 1,   0, 0,   0};
  TBitmapImage Image;
  Image.LoadFromBytes(Bmp);
  ASSERT_EQ(Image.Width(), 2);
  EXPECT_EQ(PixelOf(Image, 0, 0), 0xFF000000u | 0xFF00FFu);  // top row: indices 1, 0 of the table
  EXPECT_EQ(PixelOf(Image, 1, 0), 0xFF000000u);
  EXPECT_EQ(PixelOf(Image, 0, 1), 0xFF000000u);
  EXPECT_FALSE(Image.Bitmap().HasAlpha);
  Bmp.resize(66);
  EXPECT_THROW(Image.LoadFromBytes(Bmp), EInvalidGraphic);  // rows cut off
  Bmp.resize(70, 0);
  Bmp[18] = Bmp[19] = Bmp[20] = 0xFF;  // 16 million pixels wide
  EXPECT_THROW(Image.LoadFromBytes(Bmp), EInvalidGraphic);
}

TEST(GifImageTest, ComposesEachFrameIntoItsBitmap) {
  TGifImage Image;
  Image.LoadFromBytes(AnimatedGif({Red, Blue, Green}, 5, 0));
  int Changes = 0;
  Image.OnChange = [&](TObject*) { ++Changes; };
  Image.SetFrame(2);
  EXPECT_EQ(Image.Frame(), 2);
  EXPECT_EQ(PixelOf(Image, 2, 0), Green);
  EXPECT_EQ(Changes, 1);
  EXPECT_THROW(Image.LoadFromBytes({'G', 'I', 'F', '8', '9', 'a'}), EInvalidGraphic);
  EXPECT_EQ(Image.FrameCount(), 3);
}

// A transparent animation drawn over a coloured canvas goes through the grid's mixing rule (which
// divides by 256): opaque red comes out 254, the clear pixel leaves the colour a shade darker. The
// next frame is composed and drawn without a bitmap made for it.
TEST(GifImageTest, DrawsEachFrameOverTheCanvasByItsAlpha) {
  TGifImage Image;
  Image.LoadFromBytes(AnimatedGif({Red, Blue}, 5, 0));
  TBitmap Canvas(3, 1);
  Canvas.Canvas().Brush().SetColor(RGBColor(0, 200, 100));
  Canvas.Canvas().FillRect(RECT{0, 0, 3, 1});
  Image.Draw(Canvas.Canvas(), 0, 0);
  EXPECT_EQ(Canvas.Pixel(0, 0), RGB(0, 199, 99));
  EXPECT_EQ(Canvas.Pixel(1, 0), RGB(254, 0, 0));
  const std::size_t Made = TBitmap::Made();
  Image.SetFrame(1);
  Image.Draw(Canvas.Canvas(), 0, 0);
  EXPECT_EQ(Canvas.Pixel(0, 0), RGB(0, 198, 98));
  EXPECT_EQ(Canvas.Pixel(2, 0), RGB(0, 0, 254));
  EXPECT_EQ(TBitmap::Made(), Made);
}

TEST(GifPainterTest, PlaysTheFramesInOrderOnTheUserInterfaceThread) {
  TGifImage Image;
  Image.LoadFromBytes(AnimatedGif({Red, Blue, Green}, 2, 0));
  std::vector<int> Shown;
  const std::thread::id Ui = std::this_thread::get_id();
  Image.OnChange = [&](TObject*) {
    EXPECT_EQ(std::this_thread::get_id(), Ui);
    Shown.push_back(Image.Frame());
  };
  Image.SetAnimate(true);
  EXPECT_TRUE(Image.Playing());
  ASSERT_TRUE(PumpUntil([&] { return Shown.size() >= 4; }));
  Image.SetAnimate(false);
  EXPECT_EQ(std::vector<int>(Shown.begin(), Shown.begin() + 4), (std::vector<int>{1, 2, 0, 1}));
}

TEST(GifPainterTest, StoppingOrDestroyingThePictureEndsItsThreadAtOnce) {
  TGifImage Image;
  Image.LoadFromBytes(AnimatedGif({Red, Blue}, 2, 0));
  int Changes = 0;
  Image.OnChange = [&](TObject*) { ++Changes; };
  Image.SetAnimate(true);
  ASSERT_TRUE(PumpUntil([&] { return Changes >= 1; }));
  Image.SetAnimate(false);
  EXPECT_FALSE(Image.Playing());
  const int Stopped = Changes;
  PumpUntil([] { return false; }, 150);
  EXPECT_EQ(Changes, Stopped);

  // A frame posted but not yet shown when the picture goes is dropped with it.
  auto Doomed = std::make_unique<TGifImage>();
  Doomed->LoadFromBytes(AnimatedGif({Red, Blue}, 2, 0));
  int DoomedChanges = 0;
  Doomed->OnChange = [&](TObject*) { ++DoomedChanges; };
  Doomed->SetAnimate(true);
  Sleep(100);  // the painter posts its first frame meanwhile
  Doomed.reset();
  PumpUntil([] { return false; }, 150);
  EXPECT_EQ(DoomedChanges, 0);
}

TEST(GifPainterTest, AFileWithoutALoopBlockPlaysOnceAndStaysOnItsLastFrame) {
  TGifImage Image;
  Image.LoadFromBytes(AnimatedGif({Red, Blue, Green}, 2, -1));
  Image.SetAnimate(true);
  ASSERT_TRUE(PumpUntil([&] { return !Image.Playing(); }));
  EXPECT_EQ(Image.Frame(), 2);
}

}  // namespace
