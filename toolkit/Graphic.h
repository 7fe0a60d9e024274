#pragma once
// A picture of any format: its size, its pixels as they show now (a 32-bit bitmap, with alpha when
// it has any), loading and saving as the bytes of its file format, and drawing on a canvas.
#include <cstdint>
#include <string>
#include <vector>

#include "core/Exceptions.h"
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
  // The pixels as they show now (an animation's current frame). HasAlpha when any is not opaque.
  virtual TBitmap& Bitmap() = 0;
  // EInvalidGraphic (with the reason) when the bytes are not a picture of this format.
  virtual void LoadFromBytes(const std::vector<std::uint8_t>& Bytes) = 0;
  virtual std::vector<std::uint8_t> SaveToBytes() = 0;
  // Takes the pixels that Source shows (a format that holds fewer colours reduces them).
  virtual void Assign(TGraphic& Source) = 0;

  // The path is UTF-8; EInvalidGraphic when it cannot be read or written.
  void LoadFromFile(const std::string& Path);
  void SaveToFile(const std::string& Path);
  // Copies the pixels that show now into Target (a new 32-bit bitmap of the same size).
  void AssignTo(TBitmap& Target);
  // At (X, Y): mixed over the canvas by its alpha when it has any, else copied.
  void Draw(TCanvas& Canvas, int X, int Y);

  // The picture changed (on the user-interface thread): an animation went to its next frame.
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

// The whole of a file, or EInvalidGraphic.
std::vector<std::uint8_t> ReadPictureFile(const std::string& Path);
void WritePictureFile(const std::string& Path, const std::vector<std::uint8_t>& Bytes);
// Copies pixels into a bitmap of the same size and sets its HasAlpha from them.
void SetBitmapPixels(TBitmap& Target, int Width, int Height, const std::uint32_t* Pixels);
