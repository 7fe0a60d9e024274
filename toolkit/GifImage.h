#pragma once
// Pictures in the GIF format, animated or not: the file's frames kept as the file codes them, each
// decoded and composed straight into the picture's 32-bit bitmap when it is shown (the one copy
// between the file and the screen), played by a painter thread while Animate is on.
#include <memory>

#include "gif/GifCompositor.h"
#include "gif/GifTypes.h"
#include "toolkit/Graphic.h"

class TGifPainter;

class TGifImage : public TGraphic {
 public:
  TGifImage();
  ~TGifImage() override;

  int Width() const override { return FFile.Width; }
  int Height() const override { return FFile.Height; }
  TBitmap& Bitmap() override { return FBitmap; }
  // Keeps what a damaged file still shows; EInvalidGraphic when it shows nothing.
  void LoadFromBytes(const std::vector<std::uint8_t>& Bytes) override;
  std::vector<std::uint8_t> SaveToBytes() override;
  // Any picture as one frame, its colours reduced to 256 (dithered when Dither is on).
  void Assign(TGraphic& Source) override;
  // The file as read, or as it will be written.
  const TGifFile& File() const { return FFile; }
  void SetFile(TGifFile File);

  int FrameCount() const { return int(FFile.Frames.size()); }
  int Frame() const { return FCompositor ? FCompositor->Frame() : -1; }
  // Shows frame Index (fires OnChange).
  void SetFrame(int Index);

  // While on, a painter thread plays the frames with their delays and the file's loop count; each
  // frame is shown (and OnChange fired) on the user-interface thread. Turning it off, or destroying
  // the picture, stops the thread at once. A picture of one frame has nothing to play.
  bool Animate() const { return FAnimate; }
  void SetAnimate(bool Value);
  // The painter is playing (false again once the file's last showing is over).
  bool Playing() const;

  bool Dither = true;

 private:
  void Reset(TGifFile File);
  void StopPainter();

  TGifFile FFile;
  std::unique_ptr<TGifCompositor> FCompositor;
  TBitmap FBitmap;
  bool FAnimate = false;
  std::unique_ptr<TGifPainter> FPainter;
};
