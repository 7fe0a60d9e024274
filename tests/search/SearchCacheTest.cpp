#include <gtest/gtest.h>

#include "core/CaseFold.h"
#include "core/Exceptions.h"
#include "core/Text.h"
#include "platform/Platform.h"
#include "search/SearchCache.h"
#include "tests/search/MemoryFileSystem.h"
#include "tests/support/TempFolder.h"

namespace {
std::vector<std::string> Paths(const TSearchCache& Cache) {
  std::vector<std::string> Texts;
  for (std::uint32_t Index : Cache.List().Order()) Texts.emplace_back(Cache.List().Text(Index));
  return Texts;
}
}  // namespace

TEST(SearchCacheTest, MissingFileLeavesTheCacheEmptyAndUnchanged) {
  TTempFolder Folder;
  TSearchCache Cache;
  Cache.LoadCache(Folder.Path("search.cache"));
  EXPECT_EQ(Cache.List().Count(), 0u);
  EXPECT_FALSE(Cache.Changed());
  Cache.SaveCache(Folder.Path("search.cache"));  // nothing changed: nothing written
  EXPECT_FALSE(std::filesystem::exists(Folder.Native("search.cache")));
  EXPECT_TRUE(TSearchCache::CacheFileName().size() > 12);
  EXPECT_EQ(TSearchCache::CacheFileName().substr(TSearchCache::CacheFileName().size() - 12), "search.cache");
}

TEST(SearchCacheTest, LoadsInFileOrderAndKeepsRepeatedLinesOnce) {
  TTempFolder Folder;
  Folder.WriteFile("search.cache", std::string("C:\\b\r\nC:\\A\nc:\\B\rC:\\a\r\n\r\nC:\\c\0C:\\after-zero\r\n", 41));
  TSearchCache Cache;
  Cache.LoadCache(Folder.Path("search.cache"));
  EXPECT_EQ(Paths(Cache), (std::vector<std::string>{"C:\\b", "C:\\A", "", "C:\\c"}));
  EXPECT_FALSE(Cache.List().Sorted());
  EXPECT_TRUE(Cache.IsCached("c:\\a"));
  EXPECT_FALSE(Cache.IsCached("C:\\after-zero"));
}

TEST(SearchCacheTest, HandWrittenDuplicatesAreWrittenBackSortedAndUnique) {
  TTempFolder Folder;
  const std::string File = Folder.Path("search.cache");
  const std::string Original = "C:\\Zeta\r\nc:\\alpha\r\nC:\\ALPHA\r\nC:\\Mid\r\nc:\\zeta\r\n";
  Folder.WriteFile("search.cache", Original);
  TSearchCache Cache;
  Cache.LoadCache(File);
  Cache.SaveCache(File);
  EXPECT_EQ(Folder.ReadFile("search.cache"), Original);  // unchanged cache: file untouched
  Cache.AddToCache("C:\\beta");
  // Already there: where the file system ignores case it is the same path, met in the disk's spelling now.
  Cache.AddToCache("c:\\MID");
  const std::string Mid = PlatformFileSystem().PathDelimiter() == '\\' ? "c:\\MID" : "C:\\Mid";
  EXPECT_TRUE(Cache.Changed());
  EXPECT_TRUE(Cache.List().Sorted());
  EXPECT_EQ(Paths(Cache), (std::vector<std::string>{"c:\\alpha", "C:\\beta", Mid, "C:\\Zeta"}));
  Cache.SaveCache(File);
  EXPECT_EQ(Folder.ReadFile("search.cache"), "c:\\alpha\r\nC:\\beta\r\n" + Mid + "\r\nC:\\Zeta\r\n");
  EXPECT_FALSE(Cache.Changed());
}

TEST(SearchCacheTest, NonAsciiPathsRoundTripAndAnsiFilesAreRead) {
  TTempFolder Folder;
  const std::string File = Folder.Path("search.cache");
  TSearchCache Cache;
  const std::string Path =
      "C:\\Donn\xC3\xA9"
      "es\\\xE6\x97\xA5\xE6\x9C\xAC.txt";
  Cache.AddToCache(Path);
  Cache.SaveCache(File);
  TSearchCache Again;
  Again.LoadCache(File);
  EXPECT_EQ(Paths(Again), std::vector<std::string>{Path});
  // A file from an older version, in the ANSI code page; where names are bytes, such a line is a name.
  Folder.WriteFile("old.cache",
                   "C:\\Donn\xE9"
                   "es\r\n");
  TSearchCache Old;
  Old.LoadCache(Folder.Path("old.cache"));
  EXPECT_EQ(Paths(Old), std::vector<std::string>{PlatformFileSystem().PathsAreBytes() ? "C:\\Donn\xE9"
                                                                                        "es"
                                                                                      : "C:\\Donn\xC3\xA9"
                                                                                        "es"});
}

TEST(SearchCacheTest, OneLineThatIsNoUtf8LeavesTheOtherLinesAsWritten) {
  TTempFolder Folder;
  // A UTF-8 line, then a name that is not UTF-8 (a POSIX disk allows any bytes; older files are ANSI).
  Folder.WriteFile("search.cache",
                   "C:\\Donn\xC3\xA9"
                   "es\r\nC:\\caf\xE9\r\n");
  TSearchCache Cache;
  Cache.LoadCache(Folder.Path("search.cache"));
  EXPECT_EQ(Paths(Cache),
            (std::vector<std::string>{"C:\\Donn\xC3\xA9"
                                      "es",
                                      PlatformFileSystem().PathsAreBytes() ? "C:\\caf\xE9" : "C:\\caf\xC3\xA9"}));
}

TEST(SearchCacheTest, ByteOrderMarkOfAHandWrittenFileIsNoPartOfThePath) {
  TTempFolder Folder;
  Folder.WriteFile("search.cache",
                   "\xEF\xBB\xBF"
                   "C:\\Data\\a.txt\r\n");
  TSearchCache Cache;
  Cache.LoadCache(Folder.Path("search.cache"));
  EXPECT_EQ(Paths(Cache), std::vector<std::string>{"C:\\Data\\a.txt"});
}

TEST(SearchCacheTest, UnwritableFileRaisesAndKeepsTheCacheChanged) {
  TTempFolder Folder;
  TSearchCache Cache;
  Cache.AddToCache("C:\\x");
  EXPECT_THROW(Cache.SaveCache(Folder.Path("missing-folder/search.cache")), EFileError);
  EXPECT_TRUE(Cache.Changed());
}

TEST(SearchCacheTest, LinesAreTheSameWhereverTheFileIsCutIntoPieces) {
  // A file read a byte at a time: every line end, CR LF too, falls between two pieces somewhere.
  class TBytewiseFiles : public TMemoryFileSystem {
   public:
    std::string File;
    bool FileExists(const std::string&) override { return true; }
    bool ReadFileInPieces(const std::string&, const std::function<void(std::string_view)>& OnPiece) override {
      for (char C : File) OnPiece(std::string_view(&C, 1));
      return true;
    }
  } Files;
  Files.File = std::string(
                   "\xEF\xBB\xBF"
                   "C:\\a\r\nC:\\b\rC:\\c\n\r\nC:\\d\r\r\nC:\\e") +
               '\0' + "C:\\after zero";
  TSearchCache Cache(Files);
  Cache.LoadCache("search.cache");
  EXPECT_EQ(Paths(Cache), (std::vector<std::string>{"C:\\a", "C:\\b", "C:\\c", "", "C:\\d", "C:\\e"}));
}

namespace {
// A disk that compares names as Windows does, its cache file in memory, counting the saves.
struct TFoldingDisk : TMemoryFileSystem {
  char PathDelimiter() const override { return '\\'; }
  void PathKey(std::string& Path) const override { Path = FoldText(Path); }
  bool FileExists(const std::string& Path) override { return Contents.count(Path) > 0; }
  bool ReadFile(const std::string& Path, std::size_t, std::string& Data, std::uint64_t*) override {
    Data = Contents[Path];
    return true;
  }
  bool WriteFileAtomically(const std::string& Path, const std::string& Data) override {
    Contents[Path] = Data;
    ++Saves;
    return true;
  }
  int Saves = 0;
};
}  // namespace

TEST(SearchCacheTest, APathRespelledBeyondAToZIsSavedOnceInItsNewSpellingAndNotRewrittenAfter) {
  TFoldingDisk Disk;
  Disk.Contents["search.cache"] = "C:\\A\\\xC3\x89T\xC3\x89\r\nC:\\B\\\xE2\xB1\xAF\r\n";  // C:\A\ÉTÉ, C:\B\Ɐ
  for (int Search = 0; Search < 3; ++Search) {
    TSearchCache Cache(Disk);
    Cache.LoadCache("search.cache");
    // The walk meets both renamed: C:\A\été, and C:\B\ɐ, whose name is a byte shorter than Ɐ's.
    EXPECT_TRUE(Cache.Record("C:\\A\\\xC3\xA9t\xC3\xA9").SamePath);
    EXPECT_TRUE(Cache.Record("C:\\B\\\xC9\x90").SamePath);
    Cache.SaveCache("search.cache");
  }
  EXPECT_EQ(Disk.Contents["search.cache"], "C:\\A\\\xC3\xA9t\xC3\xA9\r\nC:\\B\\\xC9\x90\r\n");
  EXPECT_EQ(Disk.Saves, 1);
}
