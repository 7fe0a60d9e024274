#include "results/ResultRows.h"

#include "core/Text.h"

namespace {

bool OneOf(std::string_view Extension, std::initializer_list<std::string_view> Choices) {
  for (std::string_view Choice : Choices)
    if (Extension == Choice) return true;
  return false;
}

}  // namespace

std::string FileTypeName(std::string_view Extension) {
  const std::string Ext(Extension);
  if (Ext == "EXE") return "Application";
  if (Ext == "DLL") return "Application Extension";
  if (OneOf(Ext, {"HTM", "HTML"})) return "HTML Document";
  if (Ext == "TXT") return "Text Document";
  if (OneOf(Ext, {"RTF", "DOC", "WRI"})) return Ext + " Document";
  if (OneOf(Ext, {"GIF", "JPG", "BMP", "WMF", "PNG"})) return Ext + " Image";
  if (OneOf(Ext, {"AVI", "MOV", "ASF", "MPG", "DIVX"})) return Ext + " Video";
  if (Ext == "ICO") return "Icon";
  if (Ext == "JS") return "Javascript File";
  if (Ext == "LNK") return "Shortcut File";
  if (OneOf(Ext, {"MP3", "OGG", "WMA", "WAV"})) return Ext + " Audio";
  if (Ext == "SWF") return "Flash Movie";
  return Ext + " File";
}

std::string SizeText(std::uint64_t Size) { return std::to_string(Size / 1024); }

std::string DateText(TDateTime Time, const TFormatSettings& Settings) {
  return FormatDateTimePicture(Settings.ShortDateFormat, Time, Settings) + " " +
         FormatDateTimePicture(Settings.ShortTimeFormat, Time, Settings);
}

void TypeExtensionOf(std::string_view Name, std::string& Out) {
  const std::size_t Dot = Name.rfind('.');
  Out.assign(Dot == std::string_view::npos ? std::string_view() : Name.substr(Dot + 1));
  for (char& C : Out) C = AsciiUpper(C);
}

std::string ResultTypeName(std::string_view Name, bool IsFolder) {
  if (IsFolder) return "Folder";
  std::string Extension;
  TypeExtensionOf(Name, Extension);
  return FileTypeName(Extension);
}
