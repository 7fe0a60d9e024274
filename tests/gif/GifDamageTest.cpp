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
  std::vector<std::vector<std::uint8_t>> Stored;  // each frame's indices in the order the file has them
  for (const TGifFrame& Frame : Full.Frames)
    Stored.push_back(Frame.Interlaced ? Interlaced(Frame.Indices, Frame.Width, Frame.Height) : Frame.Indices);
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
      const TGifFrame& Got = File.Frames[I];
      const TGifFrame& Want = Full.Frames[I];
      if (Got.Complete()) {
        ASSERT_EQ(Got.Indices, Want.Indices) << Name << " cut at " << Size;
        continue;
      }
      ++Partial;
      ASSERT_EQ(File.Damage, GifCutShort) << Name << " cut at " << Size;
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
  EXPECT_EQ(File.Damage, GifBadCode);
  ASSERT_EQ(File.Frames.size(), 1u);
  const TGifFrame& Frame = File.Frames[0];
  EXPECT_GT(Frame.Decoded, 0u);
  EXPECT_LT(Frame.Decoded, Full.Frames[0].Indices.size());
  EXPECT_TRUE(std::equal(Frame.Indices.begin(), Frame.Indices.end(), Full.Frames[0].Indices.begin()));
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
  Small.MaxPixels = 1000;  // the 48 x 32 frame is past it
  EXPECT_EQ(ErrorOf(ReadTestFile("colours-16.gif"), Small), GifTooLarge);
}

TEST(GifDamageTest, AHugeFrameWithLittleDataHoldsOnlyWhatItsDataCanCode) {
  std::vector<std::uint8_t> Gif = ReadTestFile("colours-2.gif");
  const std::size_t Descriptor = FirstImageData(Gif) - 11;
  ASSERT_EQ(Gif[Descriptor], 0x2C);
  Gif[Descriptor + 5] = Gif[Descriptor + 6] = Gif[Descriptor + 7] = Gif[Descriptor + 8] = 0xFF;
  TGifReadLimits Unlimited;
  Unlimited.MaxPixels = std::uint64_t(1) << 40;
  const TGifFile File = ReadGifBytes(Gif, Unlimited);
  ASSERT_EQ(File.Frames.size(), 1u);
  EXPECT_EQ(File.Damage, GifFrameEndsEarly);
  EXPECT_LT(File.Frames[0].Indices.capacity(), Gif.size() * 11000);
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
    Frame.Decoded = Frame.Indices.size();
    File.Frames.push_back(Frame);
  }
  std::vector<std::uint8_t> Gif = WriteGif(File);
  Gif[FirstImageData(Gif) - 4] = 2;  // ...and its descriptor then says two
  const TGifFile Read = ReadGifBytes(Gif);
  EXPECT_EQ(Read.Damage, GifFrameEndsEarly);
  ASSERT_EQ(Read.Frames.size(), 2u);
  EXPECT_EQ(Read.Frames[0].Decoded, 8u);
  EXPECT_TRUE(Read.Frames[1].Complete());
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
