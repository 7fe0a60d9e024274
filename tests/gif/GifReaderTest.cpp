// Decoding of pictures made by other programs, compared pixel by pixel with their own decoding.
#include <gtest/gtest.h>

#include "gif/GifWriter.h"
#include "tests/gif/GifTestFiles.h"

namespace {

class GifReferenceTest : public ::testing::TestWithParam<const char*> {};

TEST_P(GifReferenceTest, ComposesEveryFrameAsTheReferenceDecoderDoes) {
  const std::string Name = GetParam();
  const std::vector<std::uint8_t> Expected = ReadTestFile(Name + ".rgba");
  ASSERT_FALSE(Expected.empty()) << Name;
  const TGifFile File = ReadGifBytes(ReadTestFile(Name + ".gif"));
  EXPECT_EQ(File.Damage, "");
  EXPECT_EQ(DifferingPixels(ComposedRgba(File), Expected), 0) << Name;
}

INSTANTIATE_TEST_SUITE_P(MadeByOtherPrograms, GifReferenceTest, ::testing::ValuesIn(ReferencePictures),
                         [](const auto& Info) {
                           std::string Name = Info.param;
                           for (char& C : Name)
                             if (C == '-') C = '_';
                           return Name;
                         });

TEST(GifReaderTest, ReadsTheTimingTransparencyAndLocalTablesOfAnAnimation) {
  const TGifFile File = ReadGifBytes(ReadTestFile("disposal-background.gif"));
  ASSERT_EQ(File.Frames.size(), 6u);
  EXPECT_EQ(File.Width, 40);
  EXPECT_EQ(File.Height, 30);
  EXPECT_EQ(File.LoopCount, 2);  // made with "-loop 3": three showings, two repeats
  const TGifFrame& Circle = File.Frames[2];
  EXPECT_EQ(Circle.Left, 10);
  EXPECT_EQ(Circle.Top, 12);
  EXPECT_EQ(Circle.Width, 16);
  EXPECT_EQ(Circle.Delay, 7);
  EXPECT_EQ(Circle.Disposal, gdBackground);
  EXPECT_GE(Circle.TransparentIndex, 0);
  EXPECT_FALSE(Circle.LocalPalette.empty());
  EXPECT_TRUE(DecodeGifFrame(Circle).Complete());
}

TEST(GifReaderTest, KeepsInterlacedFramesInDisplayOrder) {
  const TGifFile Interlaced = ReadGifBytes(ReadTestFile("interlaced-animation.gif"));
  const TGifFile Plain = ReadGifBytes(ReadTestFile("disposal-none.gif"));
  ASSERT_EQ(Interlaced.Frames.size(), Plain.Frames.size());
  EXPECT_TRUE(Interlaced.Frames[3].Interlaced);
  for (std::size_t I = 0; I < Plain.Frames.size(); ++I)
    EXPECT_EQ(IndicesOf(Interlaced.Frames[I]), IndicesOf(Plain.Frames[I])) << "frame " << I;
}

TEST(GifReaderTest, ClipsFramesToTheLogicalScreen) {
  const TGifFile File = ReadGifBytes(ReadTestFile("clipped.gif"));
  EXPECT_EQ(File.Width, 30);
  EXPECT_EQ(File.Height, 20);
  EXPECT_EQ(File.Frames[0].Width, 40);  // the frame keeps its size; only what shows is cut
  TGifCompositor Compositor(File);
  Compositor.Seek(5);
  EXPECT_EQ(PixelsOf(Compositor).size(), 600u);
}

TGifFile TwoColourFile(int Width, int Height) {
  TGifFile File;
  File.Width = Width;
  File.Height = Height;
  File.GlobalPalette = {{255, 0, 0}, {0, 0, 255}};
  return File;
}

TGifFrame SolidFrame(int Left, int Top, int Width, int Height, std::uint8_t Index, TGifDisposal Disposal) {
  TGifFrame Frame;
  Frame.Left = Left;
  Frame.Top = Top;
  Frame.Width = Width;
  Frame.Height = Height;
  Frame.Indices.assign(std::size_t(Width) * Height, Index);
  Frame.Disposal = Disposal;
  return Frame;
}

TEST(GifReaderTest, AFirstFrameDisposedToThePreviousPictureLeavesTheScreenClear) {
  // Browsers clear it (the screen before the first frame is empty); ImageMagick keeps it.
  TGifFile File = TwoColourFile(3, 1);
  File.Frames = {SolidFrame(0, 0, 3, 1, 0, gdPrevious), SolidFrame(1, 0, 1, 1, 1, gdNone)};
  const TGifFile Read = ReadGifBytes(WriteGif(File));
  TGifCompositor Compositor(Read);
  Compositor.Seek(1);
  EXPECT_EQ(PixelsOf(Compositor), (std::vector<TArgb>{0, 0xFF0000FFu, 0}));
  Compositor.Seek(0);  // going back starts again from the first frame
  EXPECT_EQ(PixelsOf(Compositor), (std::vector<TArgb>{0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u}));
}

TEST(GifReaderTest, IndicesPastTheColourTableShowNothing) {
  TGifFile File = TwoColourFile(4, 1);
  File.GlobalPalette = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 5}, {6, 6, 6}, {7, 7, 7}, {8, 8, 8}};
  File.Frames = {SolidFrame(0, 0, 4, 1, 0, gdNone)};
  File.Frames[0].Indices = {0, 3, 4, 7};
  std::vector<std::uint8_t> Gif = WriteGif(File);
  // The table cut to its first four colours; the codes still name indices 4 and 7.
  Gif[10] = std::uint8_t((Gif[10] & ~7) | 1);
  Gif.erase(Gif.begin() + 13 + 12, Gif.begin() + 13 + 24);
  const TGifFile Read = ReadGifBytes(Gif);
  TGifCompositor Shown(Read);
  Shown.Seek(0);
  EXPECT_EQ(PixelsOf(Shown), (std::vector<TArgb>{0xFF010101u, 0xFF040404u, 0, 0}));
}

TEST(GifReaderTest, AScreenOfNoSizeTakesTheFramesExtent) {
  TGifFile File = TwoColourFile(5, 4);
  File.Frames = {SolidFrame(1, 2, 4, 2, 1, gdNone)};
  std::vector<std::uint8_t> Gif = WriteGif(File);
  Gif[6] = Gif[7] = Gif[8] = Gif[9] = 0;
  const TGifFile Read = ReadGifBytes(Gif);
  EXPECT_EQ(Read.Width, 5);
  EXPECT_EQ(Read.Height, 4);
}

TEST(GifReaderTest, PlaysShortDelaysAsBrowsersDo) {
  EXPECT_EQ(PlayedDelayMs(0), 100);
  EXPECT_EQ(PlayedDelayMs(1), 100);
  EXPECT_EQ(PlayedDelayMs(2), 20);
  EXPECT_EQ(PlayedDelayMs(7), 70);
}

}  // namespace
