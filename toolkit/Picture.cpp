#include "toolkit/Picture.h"

#include <algorithm>
#include <typeinfo>

#include "toolkit/BitmapImage.h"
#include "toolkit/GifImage.h"

namespace {

struct TFileFormat {
  std::string Extension;  // upper case
  std::string Description;
  TPicture::TGraphicFactory Factory;
};

std::string UpperAscii(std::string Text) {
  for (char& C : Text)
    if (C >= 'a' && C <= 'z') C = char(C - 'a' + 'A');
  return Text;
}

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
  return UpperAscii(Path.substr(Dot + 1));
}

}  // namespace

void TPicture::RegisterFileFormat(const std::string& Extension, const std::string& Description,
                                  TGraphicFactory Factory) {
  UnregisterFileFormat(Extension);
  Formats().push_back({UpperAscii(Extension), Description, std::move(Factory)});
}

void TPicture::UnregisterFileFormat(const std::string& Extension) {
  auto& List = Formats();
  const std::string Key = UpperAscii(Extension);
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

void TPicture::LoadFromFile(const std::string& Path) {
  std::unique_ptr<TGraphic> Graphic = GraphicForFile(Path);
  Graphic->LoadFromFile(Path);
  SetGraphic(std::move(Graphic));
}

void TPicture::SaveToFile(const std::string& Path) {
  if (Empty()) throw EInvalidGraphic("An empty picture cannot be saved");
  std::unique_ptr<TGraphic> Target = GraphicForFile(Path);
  if (typeid(*Target) == typeid(*FGraphic)) return FGraphic->SaveToFile(Path);
  Target->Assign(*FGraphic);
  Target->SaveToFile(Path);
}
