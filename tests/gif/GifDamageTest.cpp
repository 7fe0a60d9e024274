// Damaged files: each kind of damage gives a clear error, or the pixels decoded before it.
#include <gtest/gtest.h>

#include "gif/GifWriter.h"
#include "gif/Interlace.h"
#include "gif/Lzw.h"
#include "tests/gif/GifTestFiles.h"

namespace {

std::string ErrorOf(const std::vector<std::uint8_t>& Bytes, const TGifReadLimits& Limits = {}) {
  try {
    ReadGifBytes(Bytes, Limits);
  } catch (const EGifError& Error) {
    return Error.what();
  }
  return "";
}

// Where the first frame's image data (its first sub-block's size byte) starts.
std::size_t FirstImageData(const std::vector<std::uint8_t>& Gif) {
  std::size_t At = 13 + ((Gif[10] & 0x80) ? 3 * (std::size_t(2) << (Gif[10] & 7)) : 0);
  while (Gif[At] == 0x21) {
    At += 2;
    while (Gif[At]) At += Gif[At] + 1;
    ++At;
  }
  const int Packed = Gif[At + 9];
  At += 10 + ((Packed & 0x80) ? 3 * (std::size_t(2) << (Packed & 7)) : 0);
  return At + 1;  // past the minimum code size
}

// Checks every cut of a file: an error before the first pixel, else the frames before the cut and
// the first pixels of the frame it falls in, exactly as the whole file has them.
void ExpectEveryCutKeepsWhatCameBefore(const std::string& Name) {
  const std::vector<std::uint8_t> Whole = ReadTestFile(Name);
  const TGifFile Full = ReadGifBytes(Whole);
  std::vector<std::vector<std::uint8_t>> Decoded, Stored;  // each frame's indices, and in stored order
  for (const TGifFrame& Frame : Full.Frames) {
    Decoded.push_back(IndicesOf(Frame));
    Stored.push_back(Frame.Interlaced ? Interlaced(Decoded.back(), Frame.Width, Frame.Height) : Decoded.back());
  }
  int Errors = 0, Partial = 0;
  for (std::size_t Size = 0; Size < Whole.size(); ++Size) {
    const std::vector<std::uint8_t> Cut(Whole.begin(), Whole.begin() + std::ptrdiff_t(Size));
    TGifFile File;
    try {
      File = ReadGifBytes(Cut);
    } catch (const EGifError& Error) {
      ++Errors;
      continue;
    }
    ASSERT_LE(File.Frames.size(), Full.Frames.size());
    for (std::size_t I = 0; I < File.Frames.size(); ++I) {
      const TGifIndices Got = DecodeGifFrame(File.Frames[I]);
      if (Got.Complete()) {
        ASSERT_EQ(Got.Indices, Decoded[I]) << Name << " cut at " << Size;
        continue;
      }
      ++Partial;
      ASSERT_EQ(File.Damage, GifCutShort) << Name << " cut at " << Size;
      ASSERT_EQ(Got.Damage, GifCutShort) << Name << " cut at " << Size;
      ASSERT_TRUE(std::equal(Got.Indices.begin(), Got.Indices.end(), Stored[I].begin())) << Name << " cut at " << Size;
      if (Size % 16 == 0) ComposedRgba(File);  // a partial frame composes without going past its pixels
    }
  }
  EXPECT_GT(Errors, 0);
  EXPECT_GT(Partial, 0);
}

TEST(GifDamageTest, EveryCutOfAPictureKeepsThePixelsBeforeIt) { ExpectEveryCutKeepsWhatCameBefore("colours-256.gif"); }
TEST(GifDamageTest, EveryCutOfAnInterlacedPictureKeepsThePixelsBeforeIt) {
  ExpectEveryCutKeepsWhatCameBefore("interlaced.gif");
}
TEST(GifDamageTest, EveryCutOfAnAnimationKeepsTheFramesBeforeIt) {
  ExpectEveryCutKeepsWhatCameBefore("disposal-previous.gif");
}

TEST(GifDamageTest, WhatIsNotAGifIsRefused) {
  EXPECT_EQ(ErrorOf({}), GifNotAGif);
  EXPECT_EQ(ErrorOf({'G', 'I', 'F'}), GifNotAGif);
  EXPECT_EQ(ErrorOf({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 0, 0}), GifNotAGif);
  EXPECT_EQ(ErrorOf({'G', 'I', 'F', '9', '0', 'a', 1, 0, 1, 0, 0, 0, 0}), GifNotAGif);
}

TEST(GifDamageTest, AFileWithoutFramesIsRefused) {
  EXPECT_EQ(ErrorOf({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}), GifNoFrames);
}

TEST(GifDamageTest, ABadLzwCodeKeepsThePixelsBeforeIt) {
  std::vector<std::uint8_t> Gif = ReadTestFile("colours-256.gif");
  const TGifFile Full = ReadGifBytes(Gif);
  // Past the first few codes every bit set: a 9-bit code 511 long before the table reaches it.
  const std::size_t Data = FirstImageData(Gif) + 1;
  for (std::size_t I = Data + 6; I < Data + 20; ++I) Gif[I] = 0xFF;
  const TGifFile File = ReadGifBytes(Gif);
  ASSERT_EQ(File.Frames.size(), 1u);
  const TGifIndices Frame = DecodeGifFrame(File.Frames[0]);
  const std::vector<std::uint8_t> Intact = IndicesOf(Full.Frames[0]);
  EXPECT_EQ(Frame.Damage, GifBadCode);
  EXPECT_GT(Frame.Indices.size(), 0u);
  EXPECT_LT(Frame.Indices.size(), Intact.size());
  EXPECT_TRUE(std::equal(Frame.Indices.begin(), Frame.Indices.end(), Intact.begin()));
}

TEST(GifDamageTest, ABadCodeSizeIsRefused) {
  for (int Size : {0, 1, 9, 12, 255}) {
    std::vector<std::uint8_t> Gif = ReadTestFile("colours-256.gif");
    Gif[FirstImageData(Gif) - 1] = std::uint8_t(Size);
    EXPECT_EQ(ErrorOf(Gif), GifBadCodeSize) << Size;
  }
}

TEST(GifDamageTest, AFrameWithoutAColourTableIsRefused) {
  std::vector<std::uint8_t> Gif = ReadTestFile("colours-16.gif");
  const std::size_t Table = 3 * (std::size_t(2) << (Gif[10] & 7));
  Gif[10] &= 0x7F;
  Gif.erase(Gif.begin() + 13, Gif.begin() + 13 + std::ptrdiff_t(Table));
  EXPECT_EQ(ErrorOf(Gif), GifNoColourTable);
}

TEST(GifDamageTest, ATooLargeScreenOrFrameIsRefused) {
  std::vector<std::uint8_t> Gif = ReadTestFile("colours-16.gif");
  Gif[6] = Gif[7] = Gif[8] = Gif[9] = 0xFF;  // 65535 x 65535 from a file of 600 bytes
  EXPECT_EQ(ErrorOf(Gif), GifTooLarge);
  TGifReadLimits Small;
  Small.MaxFramePixels = 1000;  // the 48 x 32 frame is past it
  EXPECT_EQ(ErrorOf(ReadTestFile("colours-16.gif"), Small), GifTooLarge);
}

// A file of Count frames, each Side x Side of one colour: a few kilobytes of codes apiece.
std::vector<std::uint8_t> OneColourFrames(int Side, int Count) {
  TGifFile File;
  File.Width = File.Height = Side;
  File.GlobalPalette = {{0, 0, 0}, {255, 0, 0}};
  TGifFrame Frame;
  Frame.Width = Frame.Height = Side;
  Frame.Indices.assign(Frame.Area(), 1);
  File.Frames = {Frame};
  const std::vector<std::uint8_t> One = WriteGif(File);
  const std::size_t FrameStart = 13 + 6;  // past the screen and its two colours
  std::vector<std::uint8_t> Gif(One.begin(), One.begin() + FrameStart);
  for (int I = 0; I < Count; ++I) Gif.insert(Gif.end(), One.begin() + FrameStart, One.end() - 1);
  Gif.push_back(0x3B);
  return Gif;
}

TEST(GifDamageTest, ABombKeepsItsCodesAndStopsAtTheFrameBudget) {
  const std::vector<std::uint8_t> Gif = OneColourFrames(2048, 8);
  TGifReadLimits Budget;
  Budget.MaxFramePixels = std::uint64_t(5) * 2048 * 2048;
  const TGifFile File = ReadGifBytes(Gif, Budget);
  EXPECT_EQ(File.Damage, GifTooLarge);
  ASSERT_EQ(File.Frames.size(), 5u);
  std::size_t Held = 0;
  for (const TGifFrame& Frame : File.Frames) Held += Frame.Codes.capacity() + Frame.Indices.capacity();
  EXPECT_LT(Held, Gif.size());  // nothing decoded until it is drawn
  TGifCompositor Compositor(File);
  Compositor.Seek(4);
  EXPECT_EQ(Compositor.Decoded(), 2048u * 2048u);
  EXPECT_EQ(Compositor.Pixels()[2048 * 2048 - 1], 0xFFFF0000u);
}

TEST(GifDamageTest, AWideScreenWithASmallFrameIsRead) {
  TGifFile File;
  File.Width = 65535;
  File.Height = 100;
  File.GlobalPalette = {{0, 0, 0}, {0, 0, 255}};
  TGifFrame Frame;
  Frame.Left = 65533;
  Frame.Width = Frame.Height = 2;
  Frame.Indices = {1, 1, 1, 1};
  File.Frames = {Frame};
  const std::vector<std::uint8_t> Gif = WriteGif(File);
  ASSERT_LT(Gif.size(), 100u);
  const TGifFile Read = ReadGifBytes(Gif);
  TGifCompositor Compositor(Read);
  Compositor.Seek(0);
  EXPECT_EQ(Compositor.Pixels()[65534 + 65535], 0xFF0000FFu);
}

TEST(GifDamageTest, AHugeFrameWithLittleDataHoldsOnlyWhatItsDataCanCode) {
  std::vector<std::uint8_t> Gif = ReadTestFile("colours-2.gif");
  const std::size_t Descriptor = FirstImageData(Gif) - 11;
  ASSERT_EQ(Gif[Descriptor], 0x2C);
  Gif[Descriptor + 5] = Gif[Descriptor + 6] = Gif[Descriptor + 7] = Gif[Descriptor + 8] = 0xFF;
  TGifReadLimits Unlimited;
  Unlimited.MaxFramePixels = std::uint64_t(1) << 40;
  const TGifFile File = ReadGifBytes(Gif, Unlimited);
  ASSERT_EQ(File.Frames.size(), 1u);
  const TGifIndices Frame = DecodeGifFrame(File.Frames[0]);
  EXPECT_EQ(Frame.Damage, GifFrameEndsEarly);
  EXPECT_LT(Frame.Indices.capacity(), Gif.size() * 11000);
}

TEST(GifDamageTest, AnUnknownBlockEndsTheFileAfterItsFrames) {
  std::vector<std::uint8_t> Gif = ReadTestFile("disposal-none.gif");
  Gif.back() = 0x99;  // in place of the trailer
  const TGifFile File = ReadGifBytes(Gif);
  EXPECT_EQ(File.Frames.size(), 6u);
  EXPECT_EQ(File.Damage, GifUnknownBlock);
  std::vector<std::uint8_t> Early = ReadTestFile("colours-2.gif");
  Early[FirstImageData(Early) - 11] = 0x99;
  EXPECT_EQ(ErrorOf(Early), GifUnknownBlock);
}

TEST(GifDamageTest, AFrameEndingEarlyKeepsItsPixelsAndTheFramesAfterIt) {
  TGifFile File;
  File.Width = 8;
  File.Height = 2;
  File.GlobalPalette = {{0, 0, 0}, {255, 255, 255}};
  for (int I = 0; I < 2; ++I) {
    TGifFrame Frame;
    Frame.Width = 8;
    Frame.Height = I == 0 ? 1 : 2;  // the first frame's data is written for one row...
    Frame.Indices.assign(std::size_t(Frame.Width) * Frame.Height, std::uint8_t(I));
    File.Frames.push_back(Frame);
  }
  std::vector<std::uint8_t> Gif = WriteGif(File);
  Gif[FirstImageData(Gif) - 4] = 2;  // ...and its descriptor then says two
  const TGifFile Read = ReadGifBytes(Gif);
  ASSERT_EQ(Read.Frames.size(), 2u);
  const TGifIndices First = DecodeGifFrame(Read.Frames[0]);
  EXPECT_EQ(First.Damage, GifFrameEndsEarly);
  EXPECT_EQ(First.Indices.size(), 8u);
  EXPECT_TRUE(DecodeGifFrame(Read.Frames[1]).Complete());
}

TEST(GifDamageTest, AnLzwStreamCannotWritePastItsFrame) {
  // 100,000 zeros code to a few hundred bytes; the frame has room for 100.
  const std::vector<std::uint8_t> Zeros(100000, 0);
  std::vector<std::uint8_t> Data = LzwEncode(Zeros.data(), Zeros.size(), 2);
  const std::size_t Size = Data.size();
  Data.resize(Size + LzwInputSlack);
  std::vector<std::uint8_t> Out(100 + LzwOutputSlack, 0xEE);
  const TLzwDecodeResult Result = LzwDecode(Data.data(), Size, 2, Out.data(), 100);
  EXPECT_EQ(Result.Written, 100u);
  EXPECT_EQ(std::count(Out.begin(), Out.begin() + 100, 0), 100);
}

}  // namespace
