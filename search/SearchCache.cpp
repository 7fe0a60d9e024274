#include "search/SearchCache.h"

#include <cstring>

#include "core/Exceptions.h"
#include "core/FormatSettings.h"
#include "core/SettingsFolder.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "search/IndexFile.h"

namespace {
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// Thrown through the file system's reading to stop a load that was cancelled.
struct TLoadStopped {};
}  // namespace

std::string TSearchCache::CacheFileName() { return ProgramSettingsPlace().Folder + SearchCacheFileName; }

bool IsCacheLine(std::string_view Line, char Delimiter) {
  if (Line.empty()) return true;
  if (Delimiter != '\\') return Line[0] == Delimiter;
  const bool Drive = Line.size() >= 3 && AsciiLower(Line[0]) >= 'a' && AsciiLower(Line[0]) <= 'z' && Line[1] == ':' &&
                     (Line[2] == '\\' || Line[2] == '/');
  return Drive || Line.substr(0, 2) == "\\\\";
}

// The file is read in pieces, so that loading holds little more than the list itself. CR LF, CR and LF
// each end a line (also where a piece ends between CR and LF); reading stops at the first zero byte.
bool TSearchCache::LoadCache(const std::string& FileName, const std::atomic<bool>* Cancel) {
  return LoadCache(FileName, [Cancel] { return Cancel && Cancel->load(); });
}

bool TSearchCache::LoadCache(const std::string& FileName, const std::function<bool()>& Stop) {
  FIndex.Clear();
  FLinesAreFile = false;
  if (!FFileSystem.FileExists(FileName)) {
    FIndexIgnored = "no cache file";
    return true;
  }
  const bool Fresh = FCache.Count() == 0;
  const std::size_t LinesBefore = FLinesRead;
  // A cache file with its index is one a save wrote: its lines are unique, and need not be looked up
  // as they are loaded.
  std::string IndexBytes;
  TFileEntry CacheEntry;
  FTrustedLoad = Fresh && FRecording && ReadIndexBytes(FileName, CacheEntry, IndexBytes);
  std::string Partial;  // the start of a line that goes on in the next piece
  bool Ended = false, FirstLine = true, AfterCr = false;
  const auto Line = [&](std::string_view Text) {
    // A file written by hand in an editor that marks UTF-8 starts with a byte order mark: no part of a path.
    if (FirstLine && Text.substr(0, 3) == ByteOrderMark) Text.remove_prefix(3);
    FirstLine = false;
    AddLoadedLine(Text);
  };
  bool Read;
  try {
    Read = FFileSystem.ReadFileInPieces(FileName, [&](std::string_view Piece) {
      if (Stop()) throw TLoadStopped();
      if (Ended) return;
      const std::size_t Zero = Piece.find('\0');
      if (Zero != std::string_view::npos) {
        Piece = Piece.substr(0, Zero);
        Ended = true;
      }
      std::size_t Start = AfterCr && !Piece.empty() && Piece[0] == '\n' ? 1 : 0;
      AfterCr = AfterCr && Piece.empty();
      for (std::size_t I = Start; I < Piece.size(); ++I) {
        // The next line break: CR or LF, each found by the library's fast scan.
        const char* From = Piece.data() + I;
        const std::size_t Left = Piece.size() - I;
        const char* Lf = static_cast<const char*>(std::memchr(From, '\n', Left));
        const char* Cr =
            static_cast<const char*>(std::memchr(From, '\r', Lf ? static_cast<std::size_t>(Lf - From) : Left));
        const char* Break = Cr ? Cr : Lf;
        if (!Break) break;
        I = static_cast<std::size_t>(Break - Piece.data());
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
  } catch (const TLoadStopped&) {
    return false;
  }
  if (!Read) throw EFileError("Cannot open file \"" + FileName + "\". " + FFileSystem.LastErrorText());
  if (!Partial.empty() && !(FirstLine && Partial == ByteOrderMark)) Line(Partial);
  if (Ended) {
    FLostBytesOf = FileName;
    if (FDamage.empty())
      FDamage = "a zero byte follows line " + std::to_string(FLinesRead) + "; nothing after it was read";
  }
  // A save writes the file sorted and without duplicates: its order is then the list's sorted order
  // (unless someone wrote it by hand; a save checks that before it relies on it).
  if (Fresh && !FLoadedDuplicates) FCache.SetOrderedPrefix(FCache.Count(), FTrustedLoad && FDamage.empty());
  FFileLines = FLinesRead - LinesBefore;
  FLinesAreFile = Fresh && !FLoadedDuplicates && FDamage.empty() && FCache.Count() == FFileLines;
  FTrustedLoad = false;
  if (FRecording) LoadIndex(IndexBytes, CacheEntry);
  return true;
}

bool TSearchCache::ReadIndexBytes(const std::string& FileName, TFileEntry& Cache, std::string& Bytes) {
  const std::string IndexFile = IndexFileFor(FileName);
  if (!FFileSystem.FindEntry(FileName, Cache)) {
    FIndexIgnored = "the cache file cannot be looked up";
  } else if (!FFileSystem.FileExists(IndexFile)) {
    FIndexIgnored = "no index file";
  } else if (!FFileSystem.ReadFileInPieces(IndexFile, [&](std::string_view Piece) { Bytes.append(Piece); })) {
    FIndexIgnored = "cannot read the index file";
  } else if (!IndexBelongsTo(Bytes, TIndexedCacheFile{Cache.Size, Cache.Stamp, 0})) {
    FIndexIgnored = "made for another cache file, or by another version";
  } else {
    return true;
  }
  Bytes.clear();
  return false;
}

void TSearchCache::LoadIndex(const std::string& Bytes, const TFileEntry& Cache) {
  if (!Bytes.empty() && !FLinesAreFile) {
    FIndexIgnored = "the cache file is not as a save writes it";
  } else if (!Bytes.empty() && ReadIndexFile(Bytes, TIndexedCacheFile{Cache.Size, Cache.Stamp, FFileLines}, FCache,
                                             FIndex, FIndexIgnored)) {
    FIndexIgnored.clear();
    return;
  }
  // Whatever the reason, the next save writes an index of its own.
  FIndex.SetChanged(true);
}

// Lines written by older versions are in the ANSI code page. Each line is judged on its own: one
// name that is not UTF-8 must not turn every other line of the file into mojibake. Where names are
// bytes, a line that is no UTF-8 is such a name, kept as it is.
void TSearchCache::AddLoadedLine(std::string_view Line) {
  ++FLinesRead;
  if (FDamage.empty() && !IsCacheLine(Line, FFileSystem.PathDelimiter()))
    FDamage = "line " + std::to_string(FLinesRead) + " is not a full path";
  // The reading splits at line breaks and stops at a zero byte: only a byte order mark is left to refuse.
  if (Line.substr(0, 3) == ByteOrderMark) return;  // a line that starts with one: no path of a disk
  std::string Converted;
  if (!FFileSystem.PathsAreBytes() && !IsValidUtf8(Line)) {
    Converted = AnsiToUtf8(Line);
    Line = Converted;
  }
  // A saved file holds the names of one folder one after the other: the folder is looked up once.
  const std::size_t Start = FCache.NameStart(Line);
  UseFolder(Line.substr(0, Start));
  std::uint32_t Index;
  if (FTrustedLoad) {
    FCache.AddUnique(FFolder, Line.substr(Start));
  } else if (!FCache.Add(FFolder, Line.substr(Start), Index)) {
    FLoadedDuplicates = true;
  }
}

namespace {
bool HasLineBreak(std::string_view Text) {
  for (const char C : Text)
    if (static_cast<unsigned char>(C) <= '\r' && (C == '\r' || C == '\n' || C == '\0')) return true;
  return false;
}
}  // namespace

bool FitsOnACacheLine(std::string_view Path) {
  // A byte order mark at the start of the file is no part of its first path.
  return !HasLineBreak(Path) && Path.substr(0, 3) != ByteOrderMark;
}

void TSearchCache::UseFolder(std::string_view Folder) {
  if (FFolder < FCache.FolderCount() && FCache.FolderIs(FFolder, Folder)) return;
  FFolder = FCache.AddFolder(Folder);
  FFolderFits = FitsOnACacheLine(Folder);
}

TCacheHit TSearchCache::Record(std::string_view Path) {
  if (!FRecording) return TCacheHit();
  const std::size_t Start = FCache.NameStart(Path);
  UseFolder(Path.substr(0, Start));
  const std::string_view Name = Path.substr(Start);
  // The folder was judged once, when the walk came to it.
  if (Start == 0 ? !FitsOnACacheLine(Name) : !FFolderFits || HasLineBreak(Name)) return TCacheHit();
  std::uint32_t Index;
  FCache.SetSorted(true);
  if (FCache.Add(FFolder, Name, Index)) {
    FCacheChanged = true;
    return TCacheHit{Index, true};
  }
  if (FCache.FolderOf(Index) == FFolder && FCache.NameOf(Index) == Name) return TCacheHit{Index, true};
  // Held in another spelling: the disk's spelling now, unless the file system tells the two apart (a
  // case-sensitive disk), where the line names another path.
  if (!FFileSystem.SamePath(FCache.Text(Index), Path)) return TCacheHit{Index, false};
  FCache.Respell(Index, FFolder, Name);
  FCacheChanged = true;
  return TCacheHit{Index, true};
}

bool TSearchCache::FindIndexed(std::string_view Folder, TFolderIndex::TFolderView& View) const {
  return !FIndex.Empty() && FindIndexed(FCache.FindFolder(Folder), View);
}

bool TSearchCache::FindIndexed(std::uint32_t Number, TFolderIndex::TFolderView& View) const {
  if (Number == TSFCList::NoFolder || !FIndex.Find(Number, View)) return false;
  for (std::uint32_t I = 0; I < View.Count; ++I) {
    const std::uint32_t Line = TFolderIndex::LineOf(View.Items[I]);
    if (Line >= FCache.Count() || FCache.FolderOf(Line) != Number) return false;  // respelled or removed since
  }
  return true;
}

void TSearchCache::IndexFolder(std::string_view Folder, std::uint64_t Stamp, const std::vector<std::uint32_t>& Items) {
  if (!FRecording) return;
  if (Stamp == 0) {
    const std::uint32_t Number = FCache.FindFolder(Folder);
    if (Number != TSFCList::NoFolder) FIndex.Remove(Number);
    return;
  }
  UseFolder(Folder);
  FIndex.Replace(FFolder, Stamp, Items.data(), Items.size());
}

void TSearchCache::RespellPath(std::size_t Index, std::string_view Path) {
  if (FCache.Text(Index) == Path) return;
  FCache.Replace(Index, Path);
  FCacheChanged = true;
}

void TSearchCache::KeepDamagedFile(const std::string& FileName) {
  const std::string Copy = FileName + DamagedCacheSuffix;
  const std::unique_ptr<TFileWriter> Writer = FFileSystem.CreateFileAtomically(Copy);
  bool Written = Writer != nullptr;
  const bool Read = Written && FFileSystem.ReadFileInPieces(FileName, [&](std::string_view Piece) {
    Written = Written && Writer->Write(Piece);
  });
  if (!Read || !Written || !Writer->Commit())
    throw EFileError("Cannot keep the damaged file \"" + FileName + "\" as \"" + Copy + "\". " +
                     FFileSystem.LastErrorText());
  FLostBytesOf.clear();
}

void TSearchCache::SaveCache(const std::string& FileName) {
  const bool IndexChanged = FRecording && FIndex.Changed();
  if (!FCacheChanged && !IndexChanged) return;
  std::vector<std::uint32_t> FileLines;
  // An index names paths by their lines in the file: when the lines in memory are no longer those of
  // the file, the file is written afresh with it.
  if (FCacheChanged || (IndexChanged && !FIndex.Empty() && !FLinesAreFile)) {
    if (FLostBytesOf == FileName) KeepDamagedFile(FileName);
    // The file is always sorted and free of duplicates, whatever mode the list is in.
    const bool WasSorted = FCache.Sorted();
    FCache.SetSorted(true);
    std::vector<std::uint32_t> Order = FCache.Order(true);
    FCache.SetSorted(WasSorted);
    WriteLines(FileName, Order, FileLines);
    FCacheChanged = false;
    FLinesAreFile = false;
  }
  if (IndexChanged) SaveIndex(FileName, FileLines.empty() ? nullptr : &FileLines, FFileLines);
}

void TSearchCache::WriteLines(const std::string& FileName, const std::vector<std::uint32_t>& Order,
                              std::vector<std::uint32_t>& FileLines) {
  // Written in pieces, so that saving holds little more than the list, its order and the lines' places.
  const std::unique_ptr<TFileWriter> Writer = FFileSystem.CreateFileAtomically(FileName);
  bool Ok = Writer != nullptr;
  if (FRecording && !FIndex.Empty()) FileLines.assign(FCache.Count(), NoFileLine);
  constexpr std::size_t PieceSize = 1 << 20;
  std::string Piece, FolderText;
  std::uint32_t Written = 0, Made = TSFCList::NoFolder;
  for (std::size_t I = 0; Ok && I < Order.size(); ++I) {
    // Lines of one folder come one after the other: its text is made once.
    const std::uint32_t Number = FCache.FolderOf(Order[I]);
    if (Number != Made) {
      FCache.FolderTextInto(Number, FolderText);
      Made = Number;
    }
    const std::string_view Folder = FolderText, Name = FCache.NameOf(Order[I]);
    if (!FitsOnACacheLine(Folder.empty() ? Name : Folder) || HasLineBreak(Name)) continue;
    Piece.append(Folder).append(Name).append("\r\n");
    if (!FileLines.empty()) FileLines[Order[I]] = Written;
    ++Written;
    if (Piece.size() >= PieceSize) {
      Ok = Writer->Write(Piece);
      Piece.clear();
    }
  }
  Ok = Ok && Writer->Write(Piece) && Writer->Commit();
  if (!Ok) throw EFileError("Cannot create file \"" + FileName + "\". " + FFileSystem.LastErrorText());
  FFileLines = Written;
}

void TSearchCache::SaveIndex(const std::string& FileName, const std::vector<std::uint32_t>* FileLines,
                             std::uint64_t Lines) {
  TFileEntry Cache;
  if (!FFileSystem.FindEntry(FileName, Cache)) return;
  const std::unique_ptr<TFileWriter> Writer = FFileSystem.CreateFileAtomically(IndexFileFor(FileName));
  if (Writer && WriteIndexFile(*Writer, FIndex, FCache, FileLines, TIndexedCacheFile{Cache.Size, Cache.Stamp, Lines}) &&
      Writer->Commit())
    FIndex.SetChanged(false);
}
