#pragma once
// Composes a GIF file's frames on its logical screen as a player shows them: each frame drawn over
// what the ones before it left (after their disposal), clipped to the screen, as premultiplied
// 32-bit pixels (TArgb). The screen starts fully transparent. Each frame is decoded as it is drawn,
// straight into the canvas: no frame's indices are held.
#include <cstddef>
#include <vector>

#include "gif/GifTypes.h"

class TGifCompositor {
 public:
  // Composes into a canvas of its own. The file must outlive the compositor.
  explicit TGifCompositor(const TGifFile& File);
  // Composes into Canvas, Width x Height pixels row by row from the top that the caller owns (the
  // bits of a 32-bit bitmap, say) and keeps alive as long as the compositor.
  TGifCompositor(const TGifFile& File, TArgb* Canvas);
  TGifCompositor(TGifFile&&) = delete;
  TGifCompositor(TGifFile&&, TArgb*) = delete;

  int Width() const { return FFile.Width; }
  int Height() const { return FFile.Height; }
  // The frame shown, -1 before the first.
  int Frame() const { return FFrame; }
  // Shows frame Index (going back starts again from the first frame).
  void Seek(int Index);
  // Width x Height pixels, row by row from the top.
  const TArgb* Pixels() const { return FCanvas; }
  // Pixels the frame shown decoded, and why it stopped short of its last one (null when whole).
  std::size_t Decoded() const { return FDecoded; }
  const char* Damage() const { return FDamage; }

 private:
  struct TArea {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
  };
  TArea Clipped(const TGifFrame& Frame) const;
  void Clear();
  void Dispose(const TGifFrame& Frame);
  void Draw(const TGifFrame& Frame);

  const TGifFile& FFile;
  std::vector<TArgb> FOwnCanvas;
  TArgb* FCanvas;
  std::vector<TArgb> FSaved;  // the area under a frame disposed to the previous picture
  int FFrame = -1;
  std::size_t FDecoded = 0;
  const char* FDamage = nullptr;
};
