#include "search/SearchCache.h"

#include "core/Exceptions.h"
#include "core/FormatSettings.h"
#include "core/SettingsFolder.h"
#include "core/Text.h"

namespace {
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

std::string TSearchCache::CacheFileName() { return ProgramSettingsPlace().Folder + SearchCacheFileName; }

// The file is read in pieces, so that loading holds little more than the list itself. CR LF, CR and LF
// each end a line (also where a piece ends between CR and LF); reading stops at the first zero byte.
void TSearchCache::LoadCache(const std::string& FileName) {
  if (!FFileSystem.FileExists(FileName)) return;
  std::string Partial;  // the start of a line that goes on in the next piece
  bool Ended = false, FirstLine = true, AfterCr = false;
  const auto Line = [&](std::string_view Text) {
    // A file written by hand in an editor that marks UTF-8 starts with a byte order mark: no part of a path.
    if (FirstLine && Text.substr(0, 3) == ByteOrderMark) Text.remove_prefix(3);
    FirstLine = false;
    AddLoadedLine(Text);
  };
  const bool Read = FFileSystem.ReadFileInPieces(FileName, [&](std::string_view Piece) {
    if (Ended) return;
    const std::size_t Zero = Piece.find('\0');
    if (Zero != std::string_view::npos) {
      Piece = Piece.substr(0, Zero);
      Ended = true;
    }
    std::size_t Start = AfterCr && !Piece.empty() && Piece[0] == '\n' ? 1 : 0;
    AfterCr = AfterCr && Piece.empty();
    for (std::size_t I = Start; I < Piece.size(); ++I) {
      if (Piece[I] != '\r' && Piece[I] != '\n') continue;
      if (Partial.empty()) {
        Line(Piece.substr(Start, I - Start));
      } else {
        Line(Partial.append(Piece.substr(Start, I - Start)));
        Partial.clear();
      }
      if (Piece[I] == '\r' && I + 1 < Piece.size() && Piece[I + 1] == '\n') ++I;
      AfterCr = Piece[I] == '\r' && I + 1 == Piece.size();
      Start = I + 1;
    }
    Partial.append(Piece.substr(Start));
  });
  if (!Read) throw EFileError("Cannot open file \"" + FileName + "\". " + FFileSystem.LastErrorText());
  if (!Partial.empty() && !(FirstLine && Partial == ByteOrderMark)) Line(Partial);
}

// Lines written by older versions are in the ANSI code page. Each line is judged on its own: one
// name that is not UTF-8 must not turn every other line of the file into mojibake. Where names are
// bytes, a line that is no UTF-8 is such a name, kept as it is.
void TSearchCache::AddLoadedLine(std::string_view Line) {
  if (!FitsOnACacheLine(Line)) return;  // a line that starts with a byte order mark: no path of a disk
  if (FFileSystem.PathsAreBytes() || IsValidUtf8(Line)) {
    FCache.Add(Line);
  } else {
    FCache.Add(AnsiToUtf8(Line));
  }
}

bool FitsOnACacheLine(std::string_view Path) {
  // A byte order mark at the start of the file is no part of its first path.
  return Path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
         Path.substr(0, 3) != ByteOrderMark;
}

void TSearchCache::AddToCache(std::string_view Path) {
  if (!FRecording) return;
  if (!FitsOnACacheLine(Path)) return;  // the walk still finds it; the cache file could not hold it
  FCache.Add(Path);
  FCache.SetSorted(true);
  FCacheChanged = true;
}

void TSearchCache::RespellPath(std::size_t Index, std::string_view Path) {
  if (FCache.Text(Index) == Path) return;
  FCache.Replace(Index, Path);
  FCacheChanged = true;
}

void TSearchCache::SaveCache(const std::string& FileName) {
  if (!FCacheChanged) return;
  // The file is always sorted and free of duplicates, whatever mode the list is in. It is written in
  // pieces, so that saving holds little more than the list and its order.
  const bool WasSorted = FCache.Sorted();
  FCache.SetSorted(true);
  const std::vector<std::uint32_t> Order = FCache.Order(true);
  FCache.SetSorted(WasSorted);
  const std::unique_ptr<TFileWriter> Writer = FFileSystem.CreateFileAtomically(FileName);
  bool Ok = Writer != nullptr;
  constexpr std::size_t PieceSize = 1 << 20;
  std::string Piece;
  for (std::size_t I = 0; Ok && I < Order.size(); ++I) {
    const std::string_view Path = FCache.Text(Order[I]);
    if (!FitsOnACacheLine(Path)) continue;
    Piece.append(Path).append("\r\n");
    if (Piece.size() >= PieceSize) {
      Ok = Writer->Write(Piece);
      Piece.clear();
    }
  }
  Ok = Ok && Writer->Write(Piece) && Writer->Commit();
  if (!Ok) throw EFileError("Cannot create file \"" + FileName + "\". " + FFileSystem.LastErrorText());
  FCacheChanged = false;
}
