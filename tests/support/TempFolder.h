#pragma once
// A temporary folder for tests that touch the disk: made fresh, removed with everything in it.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/FileSystem.h"

class TTempFolder {
 public:
  TTempFolder() {
    std::random_device Random;
    FPath = std::filesystem::temp_directory_path() / ("torvane-test-" + std::to_string(Random()));
    std::filesystem::create_directories(FPath);
  }
  ~TTempFolder() {
    std::error_code Ignored;
    std::filesystem::remove_all(FPath, Ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder as the program names it: UTF-8, platform separators, no trailing separator.
  std::string Path() const { return ToProgramPath(FPath); }
  // A path below the folder; Relative uses "/" and may hold non-ASCII UTF-8.
  std::string Path(const std::string& Relative) const { return ToProgramPath(Native(Relative)); }
  std::filesystem::path Native(const std::string& Relative) const { return FPath / std::filesystem::u8path(Relative); }

  void MakeFolder(const std::string& Relative) const { std::filesystem::create_directories(Native(Relative)); }
  void WriteFile(const std::string& Relative, const std::string& Bytes) const {
    const auto Target = Native(Relative);
    std::filesystem::create_directories(Target.parent_path());
    std::ofstream Out(Target, std::ios::binary);
    Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  }
  std::string ReadFile(const std::string& Relative) const {
    std::ifstream In(Native(Relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
  }

  static std::string ToProgramPath(const std::filesystem::path& Path) {
    const auto Utf8 = Path.lexically_normal().u8string();
    std::string Text(Utf8.begin(), Utf8.end());
    while (Text.size() > 1 && (Text.back() == '/' || Text.back() == '\\')) Text.pop_back();
    return Text;
  }

 private:
  std::filesystem::path FPath;
};
