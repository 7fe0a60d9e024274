// Round trips through the writer and the reader, and the LZW coder on its own.
#include <gtest/gtest.h>

#include <random>

#include "gif/GifWriter.h"
#include "gif/Lzw.h"
#include "tests/gif/GifTestFiles.h"

namespace {

std::vector<std::uint8_t> Decode(const std::vector<std::uint8_t>& Codes, int MinCodeSize, std::size_t Count,
                                 TLzwDecodeResult* Result = nullptr) {
  std::vector<std::uint8_t> Data = Codes;
  Data.resize(Codes.size() + LzwInputSlack);
  std::vector<std::uint8_t> Out(Count + LzwOutputSlack);
  const TLzwDecodeResult R = LzwDecode(Data.data(), Codes.size(), MinCodeSize, Out.data(), Count);
  if (Result) *Result = R;
  Out.resize(R.Written);
  return Out;
}

// Runs of one index among noise: strings of every length, a table that fills again and again.
std::vector<std::uint8_t> Pattern(std::size_t Count, int MinCodeSize, unsigned Seed) {
  std::mt19937 Random(Seed);
  std::vector<std::uint8_t> Out;
  const unsigned Mask = (1u << MinCodeSize) - 1;
  while (Out.size() < Count) {
    const std::uint8_t Index = std::uint8_t(Random() & Mask);
    Out.insert(Out.end(), std::min<std::size_t>(Random() % 3 ? 1 : Random() % 300, Count - Out.size()), Index);
  }
  return Out;
}

TEST(LzwTest, EveryCodeSizeRoundTrips) {
  for (int Size = 2; Size <= 8; ++Size) {
    const std::vector<std::uint8_t> Indices = Pattern(100000, Size, unsigned(Size));
    TLzwDecodeResult Result;
    EXPECT_EQ(Decode(LzwEncode(Indices.data(), Indices.size(), Size), Size, Indices.size() + 10, &Result), Indices)
        << "code size " << Size;
    EXPECT_TRUE(Result.EndCode);
  }
}

TEST(LzwTest, AFullTableIsClearedOrKeptAndBothDecode) {
  const std::vector<std::uint8_t> Indices = Pattern(300000, 8, 3);
  TLzwEncodeOptions AtOnce, Keep;
  AtOnce.AdaptiveClear = false;
  Keep.ClearDelay = 5000;
  const std::vector<std::uint8_t> Adaptive = LzwEncode(Indices.data(), Indices.size(), 8);
  const std::vector<std::uint8_t> Cleared = LzwEncode(Indices.data(), Indices.size(), 8, AtOnce);
  const std::vector<std::uint8_t> Kept = LzwEncode(Indices.data(), Indices.size(), 8, Keep);
  EXPECT_NE(Cleared, Kept);
  EXPECT_NE(Cleared, Adaptive);
  for (const auto* Stream : {&Adaptive, &Cleared, &Kept}) EXPECT_EQ(Decode(*Stream, 8, Indices.size()), Indices);
}

TEST(LzwTest, DecodingPieceByPieceGivesTheSameIndices) {
  TLzwEncodeOptions Keep;
  Keep.ClearDelay = 20000;  // strings that reach far back
  for (int Size = 2; Size <= 8; ++Size) {
    const std::vector<std::uint8_t> Indices = Pattern(150000, Size, unsigned(Size) + 7);
    std::vector<std::uint8_t> Codes = LzwEncode(Indices.data(), Indices.size(), Size, Keep);
    const std::size_t CodedSize = Codes.size();
    Codes.resize(CodedSize + LzwInputSlack);
    TLzwDecoder Decoder(Codes.data(), CodedSize, Size, Indices.size() - 5);
    std::vector<std::uint8_t> Piece(LzwMaxString + LzwOutputSlack), Out;
    while (std::size_t Count = Decoder.Decode(Piece.data(), LzwMaxString))
      Out.insert(Out.end(), Piece.begin(), Piece.begin() + std::ptrdiff_t(Count));
    EXPECT_TRUE(std::equal(Out.begin(), Out.end(), Indices.begin())) << "code size " << Size;
    EXPECT_EQ(Out.size(), Indices.size() - 5) << "code size " << Size;
  }
}

TEST(LzwTest, AnEmptyStreamHoldsOnlyTheClearAndEndCodes) {
  TLzwDecodeResult Result;
  EXPECT_TRUE(Decode(LzwEncode(nullptr, 0, 2), 2, 10, &Result).empty());
  EXPECT_TRUE(Result.EndCode);
}

// The coder's output over every reference picture and the patterns above, folded into one FNV-1a
// digest: a faster table must not change a single byte.
TEST(LzwTest, OutputStaysByteForByteTheSame) {
  std::uint64_t Digest = 14695981039346656037ull;
  auto Fold = [&Digest](const std::vector<std::uint8_t>& Bytes) {
    for (std::uint8_t B : Bytes) Digest = (Digest ^ B) * 1099511628211ull;
  };
  TLzwEncodeOptions AtOnce, Keep;
  AtOnce.AdaptiveClear = false;
  Keep.ClearDelay = 3000;
  for (const TLzwEncodeOptions& Options : {TLzwEncodeOptions{}, AtOnce, Keep}) {
    for (const char* Name : ReferencePictures) {
      const TGifFile File = ReadGifBytes(ReadTestFile(std::string(Name) + ".gif"));
      for (const TGifFrame& Frame : File.Frames) {
        const std::vector<std::uint8_t> Indices = IndicesOf(Frame);
        const auto Largest = *std::max_element(Indices.begin(), Indices.end());
        int Size = 2;
        while ((1 << Size) <= Largest) ++Size;
        Fold(LzwEncode(Indices.data(), Indices.size(), Size, Options));
      }
    }
    for (int Size = 2; Size <= 8; ++Size) {
      const std::vector<std::uint8_t> Indices = Pattern(200000, Size, unsigned(Size) + 40);
      Fold(LzwEncode(Indices.data(), Indices.size(), Size, Options));
    }
  }
  EXPECT_EQ(Digest, 11719163949428626558ull);
}

TGifFrame Frame(int Left, int Top, int Width, int Height, unsigned Seed, int Colours) {
  TGifFrame F;
  F.Left = Left;
  F.Top = Top;
  F.Width = Width;
  F.Height = Height;
  std::mt19937 Random(Seed);
  for (int I = 0; I < Width * Height; ++I) F.Indices.push_back(std::uint8_t(Random() % unsigned(Colours)));
  return F;
}

TGifPalette Palette(int Colours) {
  TGifPalette P;
  for (int I = 0; I < Colours; ++I) P.push_back({std::uint8_t(I), std::uint8_t(255 - I), std::uint8_t(I * 3)});
  return P;
}

void ExpectSameFrames(const TGifFile& Written, const TGifFile& Read) {
  ASSERT_EQ(Read.Frames.size(), Written.Frames.size());
  EXPECT_EQ(Read.Width, Written.Width);
  EXPECT_EQ(Read.Height, Written.Height);
  EXPECT_EQ(Read.LoopCount, Written.LoopCount);
  EXPECT_EQ(Read.Damage, "");
  for (std::size_t I = 0; I < Written.Frames.size(); ++I) {
    const TGifFrame &A = Written.Frames[I], &B = Read.Frames[I];
    EXPECT_EQ(IndicesOf(B), A.Indices) << "frame " << I;
    EXPECT_EQ(B.Left, A.Left);
    EXPECT_EQ(B.Top, A.Top);
    EXPECT_EQ(B.Delay, A.Delay);
    EXPECT_EQ(B.Disposal, A.Disposal);
    EXPECT_EQ(B.TransparentIndex, A.TransparentIndex);
    EXPECT_EQ(B.Interlaced, A.Interlaced);
    // Tables come back padded to a power of two.
    const TGifPalette &PA = Written.PaletteOf(A), &PB = Read.PaletteOf(B);
    EXPECT_TRUE(std::equal(PA.begin(), PA.end(), PB.begin())) << "frame " << I;
  }
}

TEST(GifWriterTest, PalettesOfTwoTo256ColoursRoundTrip) {
  for (int Colours : {2, 3, 4, 5, 16, 17, 100, 255, 256}) {
    TGifFile File;
    File.Width = 33;
    File.Height = 17;
    File.GlobalPalette = Palette(Colours);
    File.Frames = {Frame(0, 0, 33, 17, unsigned(Colours), Colours)};
    const std::vector<std::uint8_t> Gif = WriteGif(File);
    EXPECT_EQ(std::string(Gif.begin(), Gif.begin() + 6), "GIF87a");
    ExpectSameFrames(File, ReadGifBytes(Gif));
  }
}

TEST(GifWriterTest, AnAnimationRoundTripsWithItsTimingTablesAndDisposal) {
  TGifFile File;
  File.Width = 50;
  File.Height = 40;
  File.LoopCount = 0;
  File.GlobalPalette = Palette(8);
  File.Frames = {Frame(0, 0, 50, 40, 1, 8), Frame(10, 5, 20, 30, 2, 64), Frame(3, 4, 40, 33, 3, 8),
                 Frame(49, 39, 1, 1, 4, 2)};
  File.Frames[1].LocalPalette = Palette(64);
  File.Frames[1].TransparentIndex = 5;
  File.Frames[1].Disposal = gdPrevious;
  File.Frames[1].Delay = 250;
  File.Frames[2].Interlaced = true;
  File.Frames[2].Disposal = gdBackground;
  File.Frames[3].Delay = 1;
  const std::vector<std::uint8_t> Gif = WriteGif(File);
  EXPECT_EQ(std::string(Gif.begin(), Gif.begin() + 6), "GIF89a");
  ExpectSameFrames(File, ReadGifBytes(Gif));
}

// The delay of each image's graphic control block (-1: the image has none), found by walking the
// file's blocks without the codec's reader.
std::vector<int> ControlDelays(const std::vector<std::uint8_t>& Gif) {
  auto SkipSubBlocks = [&Gif](std::size_t At) {
    while (Gif.at(At)) At += Gif[At] + 1u;
    return At + 1;
  };
  auto TableSize = [](std::uint8_t Packed) { return Packed & 0x80 ? 3 * (std::size_t(2) << (Packed & 7)) : 0; };
  std::vector<int> Delays;
  int Pending = -1;
  std::size_t At = 13 + TableSize(Gif.at(10));
  while (Gif.at(At) != 0x3B) {
    if (Gif[At] == 0x21) {
      if (Gif.at(At + 1) == 0xF9) Pending = Gif.at(At + 4) | Gif.at(At + 5) << 8;
      At = SkipSubBlocks(At + 2);
    } else {
      Delays.push_back(Pending);
      Pending = -1;
      At = SkipSubBlocks(At + 11 + TableSize(Gif.at(At + 9)));
    }
  }
  return Delays;
}

TEST(GifWriterTest, EveryFrameOfAnAnimationCarriesItsDelay) {
  TGifFile File;
  File.Width = File.Height = 4;
  File.GlobalPalette = Palette(2);
  File.Frames = {Frame(0, 0, 4, 4, 1, 2), Frame(0, 0, 4, 4, 2, 2), Frame(0, 0, 4, 4, 3, 2)};
  File.Frames[1].Delay = 1;
  EXPECT_EQ(ControlDelays(WriteGif(File)), (std::vector<int>{0, 1, 0}));
  File.Frames.resize(1);  // a still picture needs no block
  EXPECT_EQ(ControlDelays(WriteGif(File)), (std::vector<int>{-1}));
}

TEST(GifWriterTest, CodesAreAsNarrowAsTheIndicesAllow) {
  TGifFile File;
  File.Width = File.Height = 64;
  File.GlobalPalette = Palette(256);
  File.Frames = {Frame(0, 0, 64, 64, 9, 4)};  // four of 256 colours used
  const std::vector<std::uint8_t> Narrow = WriteGif(File);
  EXPECT_EQ(Narrow[13 + 768 + 10], 2);  // the minimum code size byte after the descriptor
  File.Frames[0].Indices[0] = 200;
  EXPECT_EQ(WriteGif(File)[13 + 768 + 10], 8);
  ExpectSameFrames(File, ReadGifBytes(WriteGif(File)));
}

TEST(GifWriterTest, FramesTheFormatCannotHoldAreRefused) {
  TGifFile File;
  File.Width = File.Height = 4;
  File.GlobalPalette = Palette(4);
  File.Frames = {Frame(0, 0, 4, 4, 1, 4)};
  EXPECT_NO_THROW(WriteGif(File));
  TGifFile NoTable = File;
  NoTable.GlobalPalette.clear();
  EXPECT_THROW(WriteGif(NoTable), EGifError);
  TGifFile PastTable = File;
  PastTable.Frames[0].Indices[3] = 4;
  EXPECT_THROW(WriteGif(PastTable), EGifError);
  TGifFile Short = File;
  Short.Frames[0].Indices.pop_back();
  EXPECT_THROW(WriteGif(Short), EGifError);
  TGifFile NoFrames = File;
  NoFrames.Frames.clear();
  EXPECT_THROW(WriteGif(NoFrames), EGifError);
  TGifFile Huge = File;
  Huge.Width = 70000;
  EXPECT_THROW(WriteGif(Huge), EGifError);
}

TEST(GifWriterTest, WhatTheReferenceFilesHoldIsWrittenBackTheSame) {
  for (const char* Name : {"disposal-previous", "interlaced-animation", "table-full", "gifsicle-optimised"}) {
    const TGifFile File = ReadGifBytes(ReadTestFile(std::string(Name) + ".gif"));
    const TGifFile Again = ReadGifBytes(WriteGif(File));
    EXPECT_EQ(DifferingPixels(ComposedRgba(Again), ReadTestFile(std::string(Name) + ".rgba")), 0) << Name;
  }
}

}  // namespace
