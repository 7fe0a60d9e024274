#pragma once
// A picture of any format: its size, its pixels as they show now (a 32-bit bitmap, with alpha when
// it has any), loading and saving as the bytes of its file format, and drawing on a canvas.
// Files are read and written through the file system the caller hands in.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Exceptions.h"
#include "core/FileSystem.h"
#include "core/Object.h"
#include "toolkit/Bitmap.h"

// A picture file that cannot be read, or an unknown picture format.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

class TGraphic : public TObject {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }
  // The pixels as they show now (an animation's current frame), premultiplied. HasAlpha when any is
  // not opaque.
  virtual TBitmap& Bitmap() = 0;
  TBitmap* PictureBitmap() override { return Empty() ? nullptr : &Bitmap(); }
  // EInvalidGraphic (with the reason) when the bytes are not a picture of this format.
  virtual void LoadFromBytes(const std::vector<std::uint8_t>& Bytes) = 0;
  virtual std::vector<std::uint8_t> SaveToBytes() = 0;
  // Takes the pixels that Source shows (a format that holds fewer colours reduces them).
  virtual void Assign(TGraphic& Source) = 0;

  // The path is UTF-8; EInvalidGraphic when it cannot be read or written.
  void LoadFromFile(TFileSystem& FileSystem, const std::string& Path);
  void SaveToFile(TFileSystem& FileSystem, const std::string& Path);
  // Copies the pixels that show now into Target (a new 32-bit bitmap of the same size).
  void AssignTo(TBitmap& Target);
  // At (X, Y): mixed over the canvas by its alpha when it has any (DrawBlended), else copied.
  void Draw(TCanvas& Canvas, int X, int Y);

  // The picture changed (on the user-interface thread): an animation went to its next frame.
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

// The largest picture file read.
constexpr std::size_t MaxPictureFileBytes = std::size_t(1) << 29;
// The whole of a file, or EInvalidGraphic.
std::vector<std::uint8_t> ReadPictureFile(TFileSystem& FileSystem, const std::string& Path);
void WritePictureFile(TFileSystem& FileSystem, const std::string& Path, const std::vector<std::uint8_t>& Bytes);
// Copies premultiplied pixels into a bitmap of the same size and sets its HasAlpha from them.
void SetBitmapPixels(TBitmap& Target, int Width, int Height, const std::uint32_t* Pixels);
