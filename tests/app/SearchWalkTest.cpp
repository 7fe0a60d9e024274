#include <gtest/gtest.h>

#include <random>
#include <set>

#include "core/Text.h"
#include "results/ResultRows.h"
#include "search/SearchRun.h"
#include "tests/app/TestHost.h"
#include "tests/search/MemoryFileSystem.h"
#include "tests/support/TempFolder.h"

TEST(SearchWalkTest, JunctionBackUpTheTreeIsListedButNotEntered) {
  TMemoryFileSystem Files;
  Files.Folders["C:\\Data"] = {MakeEntry(".", faDirectory), MakeEntry("..", faDirectory),
                               MakeEntry("Sub", faDirectory)};
  Files.Folders["C:\\Data\\Sub"] = {MakeEntry("Up", faDirectory | faReparsePoint), MakeEntry("a.txt", faArchive)};
  Files.Folders["C:\\Data\\Sub\\Up"] = Files.Folders["C:\\Data"];  // the junction leads back to C:\Data
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "C:\\Data\\";
  Host.Name = "";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  Host.Click(Cache);
  ASSERT_EQ(Host.Grid.RowCount(), 3);
  EXPECT_EQ(Host.Grid.Rows[0][1], "Sub");
  EXPECT_EQ(Host.Grid.Rows[1][1], "Up");
  EXPECT_EQ(Host.Grid.Rows[1][5], "Folder");
  EXPECT_EQ(Host.Grid.Rows[1][4], "C:\\Data\\Sub");
  EXPECT_EQ(Host.Grid.Rows[2][1], "a.txt");
  EXPECT_TRUE(Cache.IsCached("c:\\data\\sub\\up"));
}

TEST(SearchWalkTest, EntriesInListingOrderThenSubfoldersDepthFirst) {
  TMemoryFileSystem Files;
  Files.Folders["R"] = {MakeEntry("A", faDirectory), MakeEntry("f1", 0), MakeEntry("B", faDirectory)};
  Files.Folders["R\\A"] = {MakeEntry("A1", faDirectory), MakeEntry("fa", 0)};
  Files.Folders["R\\A\\A1"] = {MakeEntry("fa1", 0)};
  Files.Folders["R\\B"] = {MakeEntry("fb", 0)};
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "R";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  Host.Click(Cache);
  std::vector<std::string> Order;
  for (const auto& Row : Host.Grid.Rows) Order.push_back(Row[4] + "|" + Row[1]);
  EXPECT_EQ(Order, (std::vector<std::string>{"R|A", "R|f1", "R|B", "R\\A|A1", "R\\A|fa", "R\\A\\A1|fa1", "R\\B|fb"}));
  EXPECT_EQ(Host.Histories, std::vector<std::string>{"**|R"});
}

TEST(SearchWalkTest, SizesAndTimesAreReadOnlyForNamesThatPass) {
  TMemoryFileSystem Files;
  Files.NamesOnly = true;
  TFileEntry Big = MakeEntry("big.txt", faArchive), Small = MakeEntry("small.txt", faArchive);
  Big.Size = 5000;
  Small.Size = 10;
  Files.Folders["R"] = {Big, MakeEntry("other.bin", faArchive), MakeEntry("Sub", faDirectory)};
  Files.Folders["R\\Sub"] = {Small, MakeEntry("more.bin", faArchive)};
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "R";
  Host.Name = "*.txt";
  Host.SizeOn = true;
  Host.SizeNumber = "4";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  Host.Click(Cache);
  EXPECT_EQ(Files.DetailsRead, 2);  // big.txt and small.txt; the folder's kind came with its name
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][1], "big.txt");
  EXPECT_EQ(Host.Grid.Rows[0][2], "4");
  EXPECT_EQ(Host.Grid.Rows[0][3], DateText(45000.0, Host.Settings));
  EXPECT_EQ(Cache.List().Count(), 5u);  // every entry met, read or not
}

TEST(SearchWalkTest, ExtensionMaskAnswersAsTheMaskDoes) {
  TMemoryFileSystem Files;
  Files.Folders["R"] = {MakeEntry("a.TXT", 0), MakeEntry("b.txt.bak", 0), MakeEntry("c.txt~old", 0),
                        MakeEntry("d.tx", 0),  MakeEntry(".txt", 0),      MakeEntry("e.t?t", 0)};
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "R";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  auto Names = [&](const char* Name) {
    Host.Name = Name;
    Host.Click(Cache);
    std::set<std::string> Found;
    for (const auto& Row : Host.Grid.Rows) Found.insert(Row[1]);
    return Found;
  };
  // A name's own "~" is part of the name: a backup does not end in '.txt'.
  EXPECT_EQ(Names("*.txt"), (std::set<std::string>{"a.TXT", ".txt"}));
  EXPECT_EQ(Names("*.t?t"), (std::set<std::string>{"a.TXT", ".txt", "e.t?t"}));
  EXPECT_EQ(Names("*~*"), (std::set<std::string>{"c.txt~old"}));
  EXPECT_EQ(MaskExtension("*.TXT"), ".txt");
  EXPECT_EQ(MaskExtension("*.t?t"), "");
  EXPECT_EQ(MaskExtension("a*.txt"), "");
  EXPECT_EQ(MaskExtension("*.\xC3\xA9t\xC3\xA9"), "");  // letters beyond A to Z: the mask folds them
}

// A plain text between two "*" is answered by a search for it in the name, and "*" alone by every
// name: random names (case, "~", UTF-8 and broken UTF-8 among them) get the answers of the compiled
// mask.
TEST(SearchWalkTest, PlainTextMaskAnswersAsTheMaskDoes) {
  EXPECT_EQ(MaskLiteral("*Ab_1*"), "ab_1");
  EXPECT_EQ(MaskLiteral("*a?b*"), "");
  EXPECT_EQ(MaskLiteral("*a~*"), "a~");
  EXPECT_EQ(MaskLiteral("*\xC3\xA9*"), "");
  EXPECT_EQ(MaskLiteral("**"), "");
  const char* const Pieces[] = {"a", "B", "b", "~", "_1", "\xC3\xA9", "\xC3\x89", "\xC3", "\xA9", ".", "]"};
  const char* const Texts[] = {"*a*", "*B*", "*ab*", "*_1*", "*a.b*", "*]*", "*aa*", "*b~*", "*\xC3\xA9*", "*", "**"};
  std::mt19937 Random(20240611);
  TMemoryFileSystem Files;
  std::set<std::string> Names;
  while (Names.size() < 300) {
    std::string Name;
    for (int Length = 1 + static_cast<int>(Random() % 6); Length > 0; --Length) Name += Pieces[Random() % 11];
    if (Name != "." && Name != ".." && Names.insert(Name).second) Files.Folders["R"].push_back(MakeEntry(Name, 0));
  }
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "R";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  for (const char* Text : Texts) {
    Host.Name = Text;
    Host.Click(Cache);
    std::set<std::string> Found, Expected;
    for (const auto& Row : Host.Grid.Rows) Found.insert(Row[1]);
    const TMask Mask(MaskTextForSearch(Text));
    for (const std::string& Name : Names)
      if (Mask.MatchFrom(MaskTextForSearch(Name))) Expected.insert(Name);
    EXPECT_EQ(Found, Expected) << Text;
  }
}

namespace {
std::vector<std::string> RowTexts(const TTestHost& Host) {
  std::vector<std::string> Rows;
  for (const auto& Row : Host.Grid.Rows) Rows.push_back(Row[4] + "|" + Row[1]);
  return Rows;
}
}  // namespace

TEST(SearchWalkTest, CachedMatchesThatTheCachePassDidNotListAreListedByTheWalk) {
  TMemoryFileSystem Files;
  // A case-sensitive disk with two names that differ in case only (they share one cache line), a name
  // that only a listing reaches, and a backup that is no match.
  Files.Folders["C:\\Data"] = {MakeEntry("Note.txt", faArchive), MakeEntry("note.txt", faArchive),
                               MakeEntry("odd.txt", faArchive), MakeEntry("a.txt~b", faArchive)};
  Files.Unfindable.insert("C:\\Data\\odd.txt");
  Files.LookupCost = 0;  // the cache pass looks each candidate up: a listing would reach odd.txt
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "C:\\Data";
  Host.Name = "*.txt";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  const std::vector<std::string> Expected{"C:\\Data|Note.txt", "C:\\Data|note.txt", "C:\\Data|odd.txt"};
  Host.Click(Cache);
  EXPECT_EQ(RowTexts(Host), Expected);
  EXPECT_EQ(Cache.List().Count(), 3u);
  // Again with the cache: the cache pass lists what it can look up, the walk lists the rest, and
  // nothing is listed twice.
  Host.Click(Cache);
  EXPECT_EQ(RowTexts(Host), Expected);
}

TEST(SearchWalkTest, CachePassListsAFileOnceWhateverTheSpellingsCached) {
  TMemoryFileSystem Files;
  Files.Folders["C:\\Data"] = {MakeEntry("caf\xC3\xA9.txt", faArchive)};
  // A disk that takes a decomposed é (e and a combining accent) for the composed one, as some file
  // systems do, while the cache keeps the two apart: it holds two lines for the file, and a lookup by
  // either finds the file as the disk spells it.
  Files.Aliases["C:\\Data\\cafe\xCC\x81.txt"] = "C:\\Data\\caf\xC3\xA9.txt";
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "C:\\Data";
  Host.Name = "*.txt";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  Cache.AddToCache("C:\\Data\\cafe\xCC\x81.txt");
  Cache.AddToCache("C:\\Data\\caf\xC3\xA9.txt");
  ASSERT_EQ(Cache.List().Count(), 2u);
  Host.Click(Cache);
  EXPECT_EQ(RowTexts(Host), std::vector<std::string>{"C:\\Data|caf\xC3\xA9.txt"});
}

TEST(SearchWalkTest, EveryTrailingSeparatorOfTheRootGoes) {
  TMemoryFileSystem Files;
  Files.Folders["C:\\Data"] = {MakeEntry("a.txt", faArchive)};
  TTestHost Host;
  Host.Files = &Files;
  Host.Name = "*.txt";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  for (const char* Typed : {"C:\\Data\\", "C:\\Data\\\\", "C:\\Data/"}) {
    Host.Path = Typed;
    Host.Click(Cache);
    // Listed once: by the walk the first time, by the cache pass after that.
    EXPECT_EQ(RowTexts(Host), std::vector<std::string>{"C:\\Data|a.txt"}) << Typed;
  }
  EXPECT_EQ(Cache.List().Count(), 1u);  // one spelling of the path, not three
  EXPECT_TRUE(Cache.IsCached("C:\\Data\\a.txt"));
  EXPECT_EQ(Host.Histories.back(), "*.txt|C:\\Data/");  // the field as typed
}

TEST(SearchWalkTest, ASearchThatMeetsOnlyCachedPathsLeavesTheCacheUnchanged) {
  TMemoryFileSystem Files;  // reads fail: no file holds any text
  TFileEntry Entry = MakeEntry("a.txt", faArchive);
  Entry.Size = 10;
  Files.Folders["C:\\Data"] = {Entry};
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "C:\\Data";
  Host.Name = "*.txt";
  Host.Contains = "zzz";
  Host.FakeClock.NowValue = 45000.5;
  TSearchCache Cache(Files);
  Cache.List().Add("C:\\Data\\a.txt");  // as loaded from the file: not a change
  Host.Click(Cache);
  EXPECT_EQ(Host.Grid.RowCount(), 0);
  EXPECT_FALSE(Cache.Changed());  // nothing new: a save writes nothing
  Files.Folders["C:\\Data"].push_back(MakeEntry("b.bin", faArchive));
  Host.Click(Cache);
  EXPECT_TRUE(Cache.Changed());
}

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

namespace {
// Folders nested below Root, each name Length bytes, made and removed relative to open folders: their
// paths are longer than the system takes in one call.
class TDeepChain {
 public:
  TDeepChain(const std::string& Root, int Depth, std::size_t Length) : FRoot(Root) {
    for (int I = 0; I < Depth; ++I) FNames.push_back(std::string(Length - 3, 'a' + I % 26) + std::to_string(100 + I));
    int Fd = open(Root.c_str(), O_RDONLY | O_DIRECTORY);
    for (const std::string& Name : FNames) {
      mkdirat(Fd, Name.c_str(), 0755);
      const int Next = openat(Fd, Name.c_str(), O_RDONLY | O_DIRECTORY);
      close(Fd);
      Fd = Next;
    }
    const int File = openat(Fd, "deep.txt", O_WRONLY | O_CREAT, 0644);
    EXPECT_EQ(write(File, "deep text", 9), 9);
    close(File);
    close(Fd);
  }
  ~TDeepChain() {
    std::vector<int> Fds{open(FRoot.c_str(), O_RDONLY | O_DIRECTORY)};
    for (const std::string& Name : FNames) Fds.push_back(openat(Fds.back(), Name.c_str(), O_RDONLY | O_DIRECTORY));
    unlinkat(Fds.back(), "deep.txt", 0);
    for (std::size_t I = FNames.size(); I-- > 0;) {
      close(Fds[I + 1]);
      unlinkat(Fds[I], FNames[I].c_str(), AT_REMOVEDIR);
    }
    close(Fds[0]);
  }
  std::string Path() const {
    std::string Path = FRoot;
    for (const std::string& Name : FNames) Path += "/" + Name;
    return Path;
  }

 private:
  std::string FRoot;
  std::vector<std::string> FNames;
};
}  // namespace

TEST(SearchWalkTest, EntriesPastThePathLimitAreListedCountedAndCached) {
  TTempFolder Tree;
  const TDeepChain Chain(Tree.Path(), 20, 255);
  ASSERT_GT(Chain.Path().size(), 5000u);
  TTestHost Host;
  Host.Path = Tree.Path();
  Host.FakeClock.NowValue = ProgramClock().Now();
  Host.FakeClock.TickStep = 1000;  // a progress refresh after every entry shows the counts
  Host.Name = "*";
  TSearchCache Cache;
  Host.Click(Cache);
  EXPECT_EQ(Host.Grid.RowCount(), 21);
  EXPECT_EQ(Host.Status[1], "Searched 21 files, 21 folders");
  EXPECT_TRUE(Cache.IsCached(Chain.Path() + "/deep.txt"));
  EXPECT_EQ(Cache.List().Count(), 21u);
  // Looked up through the cache, and read for a text, at that depth too.
  Host.Name = "deep.txt";
  Host.Contains = "TEXT";
  Host.Click(Cache);
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][4], Chain.Path());
}
#endif

TEST(SearchWalkTest, RowsWithoutSizesOrTimesReadNoneUnlessACriterionNeedsThem) {
  TMemoryFileSystem Files;
  Files.NamesOnly = true;
  TFileEntry Match = MakeEntry("match.txt", faArchive), Other = MakeEntry("other.txt", faArchive);
  Match.Size = Other.Size = 2048;
  Files.Folders["R"] = {Match, Other, MakeEntry("Sub", faDirectory)};
  Files.Folders["R\\Sub"] = {MakeEntry("empty.txt", faArchive)};
  Files.Contents["R\\match.txt"] = std::string(2040, '.') + "needle";
  Files.Contents["R\\other.txt"] = std::string(2048, '.');
  Files.Contents["R\\Sub\\empty.txt"] = "";
  TTestHost Host;
  Host.Files = &Files;
  Host.Path = "R";
  Host.ShowsDetails = false;
  TSearchCache Cache(Files);
  Cache.StopRecording();
  Host.Click(Cache);
  EXPECT_EQ(Host.Grid.RowCount(), 4);
  EXPECT_EQ(Files.DetailsRead, 0);
  EXPECT_EQ(Host.Status[3], "");  // no sizes read: no total
  // The content test opens the files without asking for their details, and the total counts the
  // sizes of the files it opened.
  Host.Name = "*.txt";
  Host.Contains = "NEEDLE";
  Host.Click(Cache);
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][1], "match.txt");
  EXPECT_EQ(Files.DetailsRead, 0);
  EXPECT_EQ(Files.FilesOpened, 3);
  EXPECT_EQ(Host.Status[3], "2KB");
  // Rows that show them read them for the files that contain the text alone.
  Host.ShowsDetails = true;
  Host.Click(Cache);
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Files.DetailsRead, 1);
  EXPECT_EQ(Host.Grid.Rows[0][3], DateText(45000.0, Host.Settings));
  // A date criterion needs the times of the names that pass.
  Host.ShowsDetails = false;
  Host.Contains = "";
  Host.ModifiedOn = true;
  Host.From = 44000;
  Host.To = 46000;
  Host.Click(Cache);
  EXPECT_EQ(Host.Grid.RowCount(), 3);
  EXPECT_EQ(Files.DetailsRead, 4);
}
