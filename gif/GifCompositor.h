#pragma once
// Composes a GIF file's frames on its logical screen as a player shows them: each frame drawn over
// what the ones before it left (after their disposal), clipped to the screen, as 32-bit pixels with
// alpha. The screen starts fully transparent.
#include <vector>

#include "gif/GifTypes.h"

class TGifCompositor {
 public:
  // The file must outlive the compositor.
  explicit TGifCompositor(const TGifFile& File);
  TGifCompositor(TGifFile&&) = delete;

  int Width() const { return FFile.Width; }
  int Height() const { return FFile.Height; }
  // The frame shown, -1 before the first.
  int Frame() const { return FFrame; }
  // Shows frame Index (going back starts again from the first frame).
  void Seek(int Index);
  // Width x Height pixels, row by row from the top.
  const std::vector<TArgb>& Pixels() const { return FCanvas; }

 private:
  struct TArea {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
  };
  TArea Clipped(const TGifFrame& Frame) const;
  void Dispose(const TGifFrame& Frame);
  void Draw(const TGifFrame& Frame);
  void DrawPartial(const TGifFrame& Frame, const TArgb* Colours);

  const TGifFile& FFile;
  std::vector<TArgb> FCanvas;
  std::vector<TArgb> FSaved;  // the area under a frame disposed to the previous picture
  int FFrame = -1;
};
