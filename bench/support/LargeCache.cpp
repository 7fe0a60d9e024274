#include "bench/support/LargeCache.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/FileSystem.h"
#include "platform/Platform.h"

void WriteLargeCache(const std::string& File, const TSFCList& Tree, long Count, char Delimiter) {
  // Written as a save writes it, flushed to the disk at the end: the timings that follow must not pay
  // for this file's writing (a program's later flush of a small file of its own would wait for it).
  const std::unique_ptr<TFileWriter> Out = PlatformFileSystem().CreateFileAtomically(File);
  std::string Piece;
  const auto Write = [&](std::string_view Text, bool Last = false) {
    Piece.append(Text);
    if ((Last || Piece.size() >= (1 << 20)) && !(Out && Out->Write(Piece)))
      throw std::runtime_error("cannot write " + File);
    if (Last || Piece.size() >= (1 << 20)) Piece.clear();
  };
  const std::vector<std::uint32_t> Order = Tree.Order(true);
  const long Archive = std::max(0L, Count - static_cast<long>(Order.size()));
  const char* const Extensions[] = {"txt", "docx", "jpg", "pdf"};
  const std::string Disk = Delimiter == '\\' ? "A:" : "";
  char Line[160];
  for (long I = 0; I < Archive; ++I) {
    const int Length =
        std::snprintf(Line, sizeof Line, "%s%cArchive%cProject %04ld%cPart %03ld%cDocument_%07ld.%s\r\n", Disk.c_str(),
                      Delimiter, Delimiter, I / 50000, Delimiter, I / 500 % 100, Delimiter, I, Extensions[I % 4]);
    Write(std::string_view(Line, static_cast<std::size_t>(Length)));
  }
  for (std::uint32_t Index : Order) {
    Write(Tree.Text(Index));
    Write("\r\n");
  }
  Write("", true);
  if (!Out->Commit()) throw std::runtime_error("cannot write " + File);
}
