#include "bench/support/LargeCache.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

void WriteLargeCache(const std::string& File, const TSFCList& Tree, long Count, char Delimiter) {
  std::ofstream Out(std::filesystem::u8path(File), std::ios::binary);
  const std::vector<std::uint32_t> Order = Tree.Order(true);
  const long Archive = std::max(0L, Count - static_cast<long>(Order.size()));
  const char* const Extensions[] = {"txt", "docx", "jpg", "pdf"};
  const std::string Disk = Delimiter == '\\' ? "A:" : "";
  char Line[160];
  for (long I = 0; I < Archive; ++I) {
    const int Length =
        std::snprintf(Line, sizeof Line, "%s%cArchive%cProject %04ld%cPart %03ld%cDocument_%07ld.%s\r\n", Disk.c_str(),
                      Delimiter, Delimiter, I / 50000, Delimiter, I / 500 % 100, Delimiter, I, Extensions[I % 4]);
    Out.write(Line, Length);
  }
  for (std::uint32_t Index : Order) Out << Tree.Text(Index) << "\r\n";
}
