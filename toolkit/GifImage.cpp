#include "toolkit/GifImage.h"

#include <algorithm>

#include "gif/GifEncoder.h"
#include "gif/GifReader.h"
#include "gif/GifWriter.h"
#include "toolkit/GifPainter.h"

TGifImage::TGifImage() = default;

TGifImage::~TGifImage() { StopPainter(); }

void TGifImage::StopPainter() { FPainter.reset(); }

void TGifImage::Reset(TGifFile File) {
  StopPainter();
  FCompositor.reset();
  FFile = std::move(File);
  FBitmap.SetSize(FFile.Width, FFile.Height);
  if (FBitmap.Empty()) throw EInvalidGraphic(GifTooLarge);  // the platform has no bitmap that large
  GdiFlush();
  FCompositor = std::make_unique<TGifCompositor>(FFile, FBitmap.Pixels());
  SetFrame(0);
  if (FAnimate) SetAnimate(true);
}

void TGifImage::LoadFromBytes(const std::vector<std::uint8_t>& Bytes) {
  TGifFile File;
  try {
    File = ReadGif(Bytes.data(), Bytes.size());
  } catch (const EGifError& Error) {
    throw EInvalidGraphic(Error.what());
  }
  Reset(std::move(File));
  // A still picture whose codes give not a single pixel shows nothing.
  if (FFile.Frames.size() == 1 && FCompositor->Decoded() == 0) throw EInvalidGraphic(FCompositor->Damage());
}

std::vector<std::uint8_t> TGifImage::SaveToBytes() {
  try {
    return WriteGif(FFile);
  } catch (const EGifError& Error) {
    throw EInvalidGraphic(Error.what());
  }
}

void TGifImage::SetFile(TGifFile File) {
  if (File.Frames.empty() || File.Width <= 0 || File.Height <= 0) throw EInvalidGraphic("A GIF picture needs a frame");
  Reset(std::move(File));
}

void TGifImage::Assign(TGraphic& Source) {
  if (&Source == this) return;
  if (Source.Empty()) throw EInvalidGraphic("An empty picture cannot become a GIF picture");
  TBitmap& Bitmap = Source.Bitmap();
  GdiFlush();
  TTrueColourFrame Frame;
  Frame.Width = Bitmap.Width();
  Frame.Height = Bitmap.Height();
  Frame.Pixels.assign(Bitmap.Pixels(), Bitmap.Pixels() + std::size_t(Frame.Width) * Frame.Height);
  for (TArgb& P : Frame.Pixels) P = Bitmap.HasAlpha ? Unpremultiplied(P) : P | 0xFF000000u;
  TGifEncodeOptions Options;
  Options.Dither = Dither;
  Reset(QuantiseFrames({Frame}, Options));
}

void TGifImage::SetFrame(int Index) {
  if (!FCompositor || FFile.Frames.empty()) return;
  GdiFlush();  // the platform may still be drawing from the bitmap
  FCompositor->Seek(Index);
  const TArgb* Pixels = FCompositor->Pixels();
  FBitmap.HasAlpha = std::any_of(Pixels, Pixels + std::size_t(FFile.Width) * std::size_t(FFile.Height),
                                 [](TArgb P) { return (P >> 24) != 0xFF; });
  Changed();
}

void TGifImage::SetAnimate(bool Value) {
  FAnimate = Value;
  StopPainter();
  if (!Value || FFile.Frames.size() < 2) return;
  std::vector<int> Delays;
  for (const TGifFrame& F : FFile.Frames) Delays.push_back(PlayedDelayMs(F.Delay));
  // No loop block: shown once; a count of N: N repeats after the first showing; 0: for ever.
  const int Showings = FFile.LoopCount < 0 ? 1 : FFile.LoopCount == 0 ? 0 : FFile.LoopCount + 1;
  FPainter = std::make_unique<TGifPainter>(std::move(Delays), std::max(Frame(), 0), Showings,
                                           [this](int Next) { SetFrame(Next); });
}

bool TGifImage::Playing() const { return FPainter && FPainter->Running(); }
