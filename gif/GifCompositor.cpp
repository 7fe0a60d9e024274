#include "gif/GifCompositor.h"

#include <algorithm>

#include "gif/GifFrameDecoder.h"
#include "gif/Interlace.h"

TGifCompositor::TGifCompositor(const TGifFile& File)
    : FFile(File), FOwnCanvas(std::size_t(File.Width) * std::size_t(File.Height), 0), FCanvas(FOwnCanvas.data()) {}

TGifCompositor::TGifCompositor(const TGifFile& File, TArgb* Canvas) : FFile(File), FCanvas(Canvas) { Clear(); }

void TGifCompositor::Clear() { std::fill_n(FCanvas, std::size_t(FFile.Width) * std::size_t(FFile.Height), 0); }

TGifCompositor::TArea TGifCompositor::Clipped(const TGifFrame& Frame) const {
  return TArea{std::min(Frame.Left, FFile.Width), std::min(Frame.Top, FFile.Height),
               std::min(Frame.Left + Frame.Width, FFile.Width), std::min(Frame.Top + Frame.Height, FFile.Height)};
}

void TGifCompositor::Seek(int Index) {
  Index = std::clamp(Index, -1, int(FFile.Frames.size()) - 1);
  if (Index < FFrame) {
    Clear();
    FFrame = -1;
  }
  while (FFrame < Index) {
    if (FFrame >= 0) Dispose(FFile.Frames[FFrame]);
    ++FFrame;
    const TGifFrame& Frame = FFile.Frames[FFrame];
    if (Frame.Disposal == gdPrevious) {
      const TArea A = Clipped(Frame);
      FSaved.clear();
      for (int Y = A.Top; Y < A.Bottom; ++Y)
        FSaved.insert(FSaved.end(), FCanvas + std::size_t(Y) * FFile.Width + A.Left,
                      FCanvas + std::size_t(Y) * FFile.Width + A.Right);
    }
    Draw(Frame);
  }
}

void TGifCompositor::Dispose(const TGifFrame& Frame) {
  const TArea A = Clipped(Frame);
  const std::size_t RowWidth = std::size_t(A.Right - A.Left);
  if (Frame.Disposal == gdBackground) {
    for (int Y = A.Top; Y < A.Bottom; ++Y) std::fill_n(FCanvas + std::size_t(Y) * FFile.Width + A.Left, RowWidth, 0);
  } else if (Frame.Disposal == gdPrevious) {
    for (int Y = A.Top; Y < A.Bottom; ++Y)
      std::copy_n(FSaved.begin() + std::size_t(Y - A.Top) * RowWidth, RowWidth,
                  FCanvas + std::size_t(Y) * FFile.Width + A.Left);
  }
}

// Runs of indices come in the order the frame stores them; each piece of a row goes to its place
// on the screen (a frame cut short draws what it decoded over the picture before it).
void TGifCompositor::Draw(const TGifFrame& Frame) {
  // Every index maps to a pixel: the transparent one and those past the table to none at all.
  TArgb Colours[256] = {};
  const TGifPalette& Palette = FFile.PaletteOf(Frame);
  for (std::size_t I = 0; I < Palette.size() && I < 256; ++I) Colours[I] = ArgbOf(Palette[I]);
  if (Frame.TransparentIndex >= 0 && Frame.TransparentIndex < 256) Colours[Frame.TransparentIndex] = 0;
  const TArea A = Clipped(Frame);
  const std::size_t Width = std::size_t(Frame.Width);
  TGifFrameDecoder Decoder(Frame);
  const std::uint8_t* Run;
  std::size_t Count, Start;
  while (Decoder.Next(Run, Count, Start)) {
    for (std::size_t I = 0; I < Count;) {
      const std::size_t StoredRow = (Start + I) / Width, Column = (Start + I) % Width;
      const std::size_t Length = std::min(Width - Column, Count - I);
      const int Y =
          Frame.Top + (Decoder.StoredInterlaced() ? InterlacedRow(int(StoredRow), Frame.Height) : int(StoredRow));
      const int X0 = Frame.Left + int(Column);
      if (Y < A.Bottom && X0 < A.Right) {
        const std::uint8_t* In = Run + I;
        TArgb* Out = FCanvas + std::size_t(Y) * FFile.Width + X0;
        for (int X = 0, End = std::min(A.Right - X0, int(Length)); X < End; ++X) {
          const TArgb C = Colours[In[X]];
          if (C >> 24) Out[X] = C;
        }
      }
      I += Length;
    }
  }
  FDecoded = Decoder.Decoded();
  FDamage = Decoder.Damage();
}
