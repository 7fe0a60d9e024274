#include "bench/support/BenchTree.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

const char* const Patterns[] = {"Report_%06ld.txt", "photo_%ld.JPG", "notes %ld.Txt",  "data-%ld.csv",
                                "Readme_%ld.md",    "setup%ld.EXE",  "Letter %ld.doc", "archive_%ld.tar.gz"};

std::string Marker(const TBenchTreeShape& Shape) {
  return "torvane search bench tree 2: files=" + std::to_string(Shape.Files) +
         " folders=" + std::to_string(Shape.Folders) + "\n";
}

}  // namespace

void MakeBenchTree(const TBenchTreeShape& Shape) {
  namespace fs = std::filesystem;
  const fs::path Root = fs::u8path(Shape.Root);
  const fs::path MarkerFile = Root / "tree-marker.cfg";
  {
    std::ifstream In(MarkerFile, std::ios::binary);
    const std::string Found((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    if (Found == Marker(Shape)) return;
  }
  std::fprintf(stderr, "making the tree under %s ...\n", Shape.Root.c_str());
  std::error_code Ignored;
  fs::remove_all(Root, Ignored);
  fs::create_directories(Root);
  const long Top = std::max(1L, static_cast<long>(std::sqrt(static_cast<double>(Shape.Folders))));
  std::vector<fs::path> Folders;
  for (long I = 0; I < Top && static_cast<long>(Folders.size()) < Shape.Folders; ++I)
    Folders.push_back(Root / ("Folder_" + std::to_string(I)));
  for (long I = 0; static_cast<long>(Folders.size()) < Shape.Folders; ++I)
    Folders.push_back(Folders[static_cast<std::size_t>(I % Top)] / ("Sub " + std::to_string(I)));
  for (const auto& Folder : Folders) fs::create_directories(Folder);
  char Name[64];
  long TextFiles = 0;
  for (long I = 0; I < Shape.Files; ++I) {
    const char* Pattern = Patterns[I % 8];
    std::snprintf(Name, sizeof Name, Pattern, I);
    std::ofstream Out(Folders[static_cast<std::size_t>(I % static_cast<long>(Folders.size()))] / Name,
                      std::ios::binary);
    const bool Text = I % 8 == 0 || I % 8 == 2;
    if (Text && TextFiles++ % 4 == 0) {
      std::string Body;
      for (int Line = 0; Line < 12; ++Line) Body += "Line " + std::to_string(Line) + " of some ordinary text.\r\n";
      if (TextFiles % 8 == 1) Body += std::string(BenchNeedle) + "\r\n";
      Out << Body;
    }
  }
  std::ofstream(MarkerFile, std::ios::binary) << Marker(Shape);
}

std::string BenchTempPath(const std::string& Name) {
  return (std::filesystem::temp_directory_path() / Name).u8string();
}
