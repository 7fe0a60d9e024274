#include "gif/GifCompositor.h"

#include <algorithm>

#include "gif/Interlace.h"

TGifCompositor::TGifCompositor(const TGifFile& File)
    : FFile(File), FCanvas(std::size_t(File.Width) * std::size_t(File.Height), 0) {}

TGifCompositor::TArea TGifCompositor::Clipped(const TGifFrame& Frame) const {
  return TArea{std::min(Frame.Left, FFile.Width), std::min(Frame.Top, FFile.Height),
               std::min(Frame.Left + Frame.Width, FFile.Width), std::min(Frame.Top + Frame.Height, FFile.Height)};
}

void TGifCompositor::Seek(int Index) {
  Index = std::clamp(Index, -1, int(FFile.Frames.size()) - 1);
  if (Index < FFrame) {
    std::fill(FCanvas.begin(), FCanvas.end(), 0);
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
        FSaved.insert(FSaved.end(), FCanvas.begin() + std::size_t(Y) * FFile.Width + A.Left,
                      FCanvas.begin() + std::size_t(Y) * FFile.Width + A.Right);
    }
    Draw(Frame);
  }
}

void TGifCompositor::Dispose(const TGifFrame& Frame) {
  const TArea A = Clipped(Frame);
  const std::size_t RowWidth = std::size_t(A.Right - A.Left);
  if (Frame.Disposal == gdBackground) {
    for (int Y = A.Top; Y < A.Bottom; ++Y)
      std::fill_n(FCanvas.begin() + std::size_t(Y) * FFile.Width + A.Left, RowWidth, 0);
  } else if (Frame.Disposal == gdPrevious) {
    for (int Y = A.Top; Y < A.Bottom; ++Y)
      std::copy_n(FSaved.begin() + std::size_t(Y - A.Top) * RowWidth, RowWidth,
                  FCanvas.begin() + std::size_t(Y) * FFile.Width + A.Left);
  }
}

void TGifCompositor::Draw(const TGifFrame& Frame) {
  // Every index maps to a pixel: the transparent one and those past the table to none at all.
  TArgb Colours[256] = {};
  const TGifPalette& Palette = FFile.PaletteOf(Frame);
  for (std::size_t I = 0; I < Palette.size() && I < 256; ++I) Colours[I] = ArgbOf(Palette[I]);
  if (Frame.TransparentIndex >= 0 && Frame.TransparentIndex < 256) Colours[Frame.TransparentIndex] = 0;
  if (!Frame.Complete()) return DrawPartial(Frame, Colours);
  const TArea A = Clipped(Frame);
  for (int Y = A.Top; Y < A.Bottom; ++Y) {
    const std::uint8_t* In = &Frame.Indices[std::size_t(Y - Frame.Top) * Frame.Width];
    TArgb* Out = &FCanvas[std::size_t(Y) * FFile.Width];
    for (int X = A.Left; X < A.Right; ++X) {
      const TArgb C = Colours[In[X - Frame.Left]];
      if (C >> 24) Out[X] = C;
    }
  }
}

// A frame the file cut short: the pixels decoded, in stored order, over the picture before it.
void TGifCompositor::DrawPartial(const TGifFrame& Frame, const TArgb* Colours) {
  const TArea A = Clipped(Frame);
  for (std::size_t I = 0; I < Frame.Decoded; ++I) {
    const int StoredRow = int(I / std::size_t(Frame.Width)), Column = int(I % std::size_t(Frame.Width));
    const int Y = Frame.Top + (Frame.Interlaced ? InterlacedRow(StoredRow, Frame.Height) : StoredRow);
    const int X = Frame.Left + Column;
    if (Y >= A.Bottom || X >= A.Right) continue;
    const TArgb C = Colours[Frame.Indices[I]];
    if (C >> 24) FCanvas[std::size_t(Y) * FFile.Width + X] = C;
  }
}
