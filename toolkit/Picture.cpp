#include "toolkit/Picture.h"

#include <algorithm>
#include <typeinfo>

#include "core/Text.h"
#include "toolkit/BitmapImage.h"
#include "toolkit/GifImage.h"

namespace {

struct TFileFormat {
  std::string Extension;  // upper case
  std::string Description;
  TPicture::TGraphicFactory Factory;
};

std::vector<TFileFormat>& Formats() {
  static std::vector<TFileFormat> Registered = {
      {"BMP", "Bitmaps", [] { return std::unique_ptr<TGraphic>(std::make_unique<TBitmapImage>()); }},
      {"GIF", "GIF pictures", [] { return std::unique_ptr<TGraphic>(std::make_unique<TGifImage>()); }},
  };
  return Registered;
}

std::string ExtensionOf(const std::string& Path) {
  const std::size_t Dot = Path.find_last_of('.');
  const std::size_t Separator = Path.find_last_of("\\/");
  if (Dot == std::string::npos || (Separator != std::string::npos && Dot < Separator)) return "";
  return AsciiUpperCase(Path.substr(Dot + 1));
}

}  // namespace

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicFactory Factory) {
  UnregisterFileFormat(Extension);
  Formats().push_back({AsciiUpperCase(Extension), Description, std::move(Factory)});
}

void TPicture::UnregisterFileFormat(const std::string& Extension) {
  auto& List = Formats();
  const std::string Key = AsciiUpperCase(Extension);
  List.erase(std::remove_if(List.begin(), List.end(), [&](const TFileFormat& F) { return F.Extension == Key; }),
             List.end());
}

std::unique_ptr<TGraphic> TPicture::GraphicForFile(const std::string& Path) {
  const std::string Extension = ExtensionOf(Path);
  for (const TFileFormat& Format : Formats())
    if (Format.Extension == Extension) return Format.Factory();
  throw EInvalidGraphic("Unknown picture file extension (." + Extension + ")");
}

std::vector<std::string> TPicture::FileFormats() {
  std::vector<std::string> Out;
  for (const TFileFormat& Format : Formats()) Out.push_back(Format.Description + " (*." + Format.Extension + ")");
  return Out;
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> Graphic) {
  FGraphic = std::move(Graphic);
  if (FGraphic)
    FGraphic->OnChange = [this](TObject*) {
      if (OnChange) OnChange(this);
    };
  if (OnChange) OnChange(this);
}

void TPicture::LoadFromFile(TFileSystem& FileSystem, const std::string& Path) {
  std::unique_ptr<TGraphic> Graphic = GraphicForFile(Path);
  Graphic->LoadFromFile(FileSystem, Path);
  SetGraphic(std::move(Graphic));
}

void TPicture::SaveToFile(TFileSystem& FileSystem, const std::string& Path) {
  if (Empty()) throw EInvalidGraphic("An empty picture cannot be saved");
  std::unique_ptr<TGraphic> Target = GraphicForFile(Path);
  if (typeid(*Target) == typeid(*FGraphic)) return FGraphic->SaveToFile(FileSystem, Path);
  Target->Assign(*FGraphic);
  Target->SaveToFile(FileSystem, Path);
}
