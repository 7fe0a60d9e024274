#pragma once
// A picture of any registered format. Formats are registered by file extension ("BMP" and "GIF"
// from the start); loading a file picks the format by its extension, and saving to another
// extension converts the picture to that format first.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Graphic.h"

class TPicture : public TObject {
 public:
  using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

  // EInvalidGraphic for an unknown extension or a file that is not a picture of its format (the
  // picture is then left as it was).
  void LoadFromFile(TFileSystem& FileSystem, const std::string& Path);
  void SaveToFile(TFileSystem& FileSystem, const std::string& Path);

  TGraphic* Graphic() const { return FGraphic.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> Graphic);
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }
  bool Empty() const { return !FGraphic || FGraphic->Empty(); }
  // The graphic's pixels as they show now; null without a graphic.
  TBitmap* Bitmap() const { return FGraphic ? &FGraphic->Bitmap() : nullptr; }
  TBitmap* PictureBitmap() override { return FGraphic ? FGraphic->PictureBitmap() : nullptr; }

  // Fired when the graphic is replaced or changes (an animation's next frame).
  TNotifyEvent OnChange;

  // Extensions are compared without case and given without the dot ("GIF"). A later registration
  // of an extension replaces the earlier one.
  static void RegisterFileFormat(const std::string& Extension, const std::string& Description, TGraphicFactory Factory);
  static void UnregisterFileFormat(const std::string& Extension);
  // A new empty graphic of the format of Path's extension; EInvalidGraphic when none is registered.
  static std::unique_ptr<TGraphic> GraphicForFile(const std::string& Path);
  // "Description (*.ext)" for every registered format, in order of registration.
  static std::vector<std::string> FileFormats();

 private:
  std::unique_ptr<TGraphic> FGraphic;
};
