#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "core/Text.h"
#include "platform/Platform.h"
#include "search/SearchRun.h"
#include "tests/app/TestHost.h"
#include "tests/support/TempFolder.h"

namespace {

class SearchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Host.Path = Tree.Path();
    Host.FakeClock.NowValue = ProgramClock().Now();
  }
  std::string Join(const std::string& Folder, const std::string& Name) const {
    return Folder + PlatformFileSystem().PathDelimiter() + Name;
  }
  // The program's spelling of a path below the tree ("a/b" -> "<root>\a\b" on Windows).
  std::string PathOf(const std::string& Relative) const { return Tree.Path(Relative); }
  void Search(const std::string& Name, const std::string& Contains = "") {
    Host.Name = Name;
    Host.Contains = Contains;
    Host.Click(Cache);
  }
  // Pass 1 alone over Folder: the engine's run, stopped where the walk would begin.
  void CachePass(const std::string& Folder, const std::string& NameText) {
    struct TStopAtWalk : TSearchProgress {
      explicit TStopAtWalk(TTestHost& Host) : Host(Host) {}
      bool Cancelled() override { return Walking; }
      void Report(const TSearchReport& Report) override {
        Walking = Walking || Report.Stage == ssWalkBegins;
        if (Report.Stage == ssCachePass) Host.ProgressPositions.push_back(Report.Position);
      }
      TTestHost& Host;
      bool Walking = false;
    } Progress(Host);
    TSearchCriteria Criteria;
    Criteria.Folder = Folder;
    Criteria.NameText = NameText;
    TSearchRun(Criteria, Cache, PlatformFileSystem(), Host.FakeClock).Execute(Host.Grid, Progress);
  }
  std::set<std::string> Names() const {
    std::set<std::string> Found;
    for (const auto& Row : Host.Grid.Rows) Found.insert(Row[1]);
    return Found;
  }

  TTempFolder Tree;
  TTestHost Host;
  TSearchCache Cache;
};

}  // namespace

TEST_F(SearchRunTest, MissingFolderShowsMessageAndChangesNothing) {
  Host.Path = Tree.Path("missing");
  Host.Name = "report";
  Host.Click(Cache);
  EXPECT_EQ(Host.Messages, std::vector<std::string>{"The entered folder does not exist"});
  EXPECT_EQ(Host.Name, "report");
  EXPECT_TRUE(Host.StatusLog.empty());
  EXPECT_TRUE(Host.Histories.empty());
  Tree.WriteFile("file.txt", "x");
  Host.Path = Tree.Path("file.txt");  // a file is no folder
  Host.Click(Cache);
  EXPECT_EQ(Host.Messages.size(), 2u);
}

TEST_F(SearchRunTest, NameWrappingHiddenFilesAndClosingState) {
  Tree.WriteFile("Annual Report.doc", "1");
  Tree.WriteFile(".report-hidden", "22");
#ifdef _WIN32
  SetFileAttributesW(Tree.Native(".report-hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
#endif
  Tree.WriteFile("other.txt", "333");
  Tree.MakeFolder("reports");
  Search("report");
  EXPECT_EQ(Host.Name, "*report*");
  EXPECT_EQ(Names(), (std::set<std::string>{"Annual Report.doc", ".report-hidden", "reports"}));
  EXPECT_EQ(Host.Caption, "&Search");
  EXPECT_EQ(Host.Tag, 0);
  EXPECT_TRUE(Host.Enabled);
  EXPECT_EQ(Host.Status[0], "");
  EXPECT_EQ(Host.Status[3], "0KB");  // 3 bytes round to 0 KB
  // The final counts, though no refresh came during so short a search.
  EXPECT_EQ(Host.Status[1], "Searched 4 files, 2 folders");
  EXPECT_EQ(Host.Status[2], "Found 3 files");
  EXPECT_EQ(Host.Grid.UpdateCount, 0);
  EXPECT_FALSE(Host.ProgressVisible);
  EXPECT_FALSE(Host.BusyCursor);
  EXPECT_EQ(Host.Histories, std::vector<std::string>{"*report*|" + Tree.Path()});

  Search("");
  EXPECT_EQ(Host.Name, "**");
  EXPECT_EQ(Host.Grid.RowCount(), 4);  // "." and ".." never listed
  Host.StatusLog.clear();
  Search("a?c");
  EXPECT_EQ(Host.Name, "a?c");
  // The last search's counts went as this one started.
  const std::vector<std::string> Counts{"1:", "2:", "3:", "1:Searched 4 files, 2 folders", "2:Found 0 files", "3:0KB"};
  std::vector<std::string> CountLines;
  for (const std::string& Line : Host.StatusLog)
    if (Line[0] != '0') CountLines.push_back(Line);
  EXPECT_EQ(CountLines, Counts);
}

TEST_F(SearchRunTest, MalformedMaskStartsNoSearch) {
  Host.Name = "[abc";
  Host.Click(Cache);
  EXPECT_EQ(Host.Messages.size(), 1u);
  EXPECT_EQ(Host.Name, "*[abc*");
  EXPECT_EQ(Host.Tag, 0);
  EXPECT_EQ(Host.Grid.UpdateCount, 0);
  EXPECT_TRUE(Host.StatusLog.empty());
}

TEST_F(SearchRunTest, SizeLimitsInKilobytes) {
  Tree.WriteFile("small.bin", std::string(1023, 's'));
  Tree.WriteFile("exact.bin", std::string(2048, 'e'));
  Tree.WriteFile("large.bin", std::string(4096, 'l'));
  Tree.WriteFile("empty.bin", "");
  Tree.MakeFolder("folder.bin");
  Host.SizeOn = true;
  Host.SizeNumber = "2";
  Host.AtLeast = true;
  Search("*.bin");
  EXPECT_EQ(Names(), (std::set<std::string>{"exact.bin", "large.bin"}));
  EXPECT_EQ(Host.Status[3], "6KB");
  Host.AtLeast = false;
  Search("*.bin");
  EXPECT_EQ(Names(), (std::set<std::string>{"small.bin", "exact.bin", "empty.bin", "folder.bin"}));
  Host.SizeNumber = "0";
  Search("*.bin");
  EXPECT_EQ(Names(), (std::set<std::string>{"empty.bin", "folder.bin"}));
  Host.AtLeast = true;
  Search("*.bin");
  EXPECT_EQ(Host.Grid.RowCount(), 5);
  // Text that is not a number leaves the search without a limit.
  for (const char* Text : {"abc", "", "12k", "-3", "1 2"}) {
    Host.SizeNumber = Text;
    Host.AtLeast = true;
    Search("*.bin");
    EXPECT_EQ(Host.Grid.RowCount(), 5) << Text;
  }
  // Blanks around a number do not matter; a number beyond any file is larger than every file.
  Host.SizeNumber = " 2\t ";
  Search("*.bin");
  EXPECT_EQ(Names(), (std::set<std::string>{"exact.bin", "large.bin"}));
  for (const char* Text : {"18014398509481984", "99999999999999999999"}) {
    Host.SizeNumber = Text;
    Host.AtLeast = true;
    Search("*.bin");
    EXPECT_EQ(Host.Grid.RowCount(), 0) << Text;
    Host.AtLeast = false;
    Search("*.bin");
    EXPECT_EQ(Host.Grid.RowCount(), 5) << Text;
  }
  std::uint64_t Bytes = 0;
  EXPECT_TRUE(ParseSizeLimit("4000000", Bytes));
  EXPECT_EQ(Bytes, 4096000000ull);  // more than 32 bits hold
  EXPECT_TRUE(ParseSizeLimit(" +7", Bytes));
  EXPECT_EQ(Bytes, 7168u);
}

TEST_F(SearchRunTest, FilesOfFiveGibibytesKeepTheirSize) {
  const auto Big = Tree.Native("huge.dat");
  std::ofstream(Big).put('x');
  std::error_code Error;
  std::filesystem::resize_file(Big, 5ull << 30, Error);  // sparse: takes no disk space
  if (Error) GTEST_SKIP() << "no sparse files here: " << Error.message();
  Host.SizeOn = true;
  Host.SizeNumber = "4000000";
  Host.AtLeast = true;
  Search("*.dat");
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][2], "5242880");
  EXPECT_EQ(Host.Status[3], "5,242,880KB");
}

TEST_F(SearchRunTest, ModifiedDatesIncludeWholeDays) {
  Tree.WriteFile("today.txt", "t");
  Host.ModifiedOn = true;
  Host.From = Host.To = ProgramClock().Today();
  Search("*.txt");
  EXPECT_EQ(Host.Grid.RowCount(), 1);
  Host.From = Host.To = ProgramClock().Today() - 1;
  Search("*.txt");
  EXPECT_EQ(Host.Grid.RowCount(), 0);
  Host.From = ProgramClock().Today() + 1;
  Host.To = ProgramClock().Today() + 3;
  Search("*.txt");
  EXPECT_EQ(Host.Grid.RowCount(), 0);
}

TEST_F(SearchRunTest, ContentTextLimitsZeroBytesAndCase) {
  std::string Edge(299999, '.');
  Edge.replace(299990, 3, "abc");
  Tree.WriteFile("edge.txt", Edge);
  std::string Over(300000, '.');
  Over.replace(10, 3, "abc");
  Tree.WriteFile("over.txt", Over);
  Tree.WriteFile("upper.txt", "xxABCxx");
  Tree.WriteFile("mixed.txt", "Abc");
  Tree.WriteFile("zero.txt", std::string("head\0abc", 8));
  Tree.WriteFile("split.txt", "ab\r\nc");
  Tree.MakeFolder("abc.txt");
  Search("*.txt", "aBc");
  EXPECT_EQ(Names(), (std::set<std::string>{"edge.txt", "upper.txt", "mixed.txt"}));
  EXPECT_EQ(Host.Status[3], "Some files larger than 300KB were not searched");
  Search("*.txt", "HEAD");
  EXPECT_EQ(Names(), (std::set<std::string>{"zero.txt"}));
  EXPECT_EQ(Host.Status[3], "Some files larger than 300KB were not searched");
  Search("edge.txt", "abc");
  EXPECT_EQ(Host.Status[3], "293KB");  // 299,999 bytes
}

TEST_F(SearchRunTest, NonAsciiTextMatchesUtf8AndAnsiFiles) {
  Tree.WriteFile("utf8.txt", "un caf\xC3\xA9 noir");
  Tree.WriteFile("ansi.txt", "un caf\xE9 noir");  // Windows-1252
  Tree.WriteFile("capital.txt", "un CAF\xC3\x89 noir");
  Search("*.txt", "CAF\xC3\xA9");
  EXPECT_EQ(Names(), (std::set<std::string>{"utf8.txt", "ansi.txt", "capital.txt"}));  // É folds to é
  Search("*.txt", "\xE6\x97\xA5");  // no ANSI form: UTF-8 only, no error
  EXPECT_EQ(Host.Grid.RowCount(), 0);
}

TEST_F(SearchRunTest, NonAsciiNamesAreFoundCachedAndLookedUp) {
  const std::string Name = "r\xC3\xA9sum\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.txt";
  Tree.WriteFile(Name, "text");
  Search("*sum?*");
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][1], Name);
  EXPECT_TRUE(Cache.IsCached(PathOf(Name)));
  Search("*.txt");  // pass 1 finds it through the cache, pass 2 does not list it again
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][1], Name);
  EXPECT_EQ(Host.Grid.Rows[0][4], Tree.Path());
}

TEST_F(SearchRunTest, FolderNamedLikeAFileIsAFolderAndIsWalked) {
  Tree.WriteFile("notes.txt/inner.txt", "i");
  Search("*.txt");
  EXPECT_EQ(Names(), (std::set<std::string>{"notes.txt", "inner.txt"}));
  const auto* Folder = Host.Grid.Find("notes.txt");
  ASSERT_NE(Folder, nullptr);
  EXPECT_EQ((*Folder)[0], "1");
  EXPECT_EQ((*Folder)[2], "");
  EXPECT_EQ((*Folder)[5], "Folder");
  EXPECT_EQ((*Host.Grid.Find("inner.txt"))[4], PathOf("notes.txt"));
  Search("*.txt", "i");  // with a text, folders are never listed
  EXPECT_EQ(Names(), (std::set<std::string>{"inner.txt"}));
}

// Without "Modified:" no time is excluded, whichever way a run reads times (before the tests, after a
// text decided, or not at all for a list of paths); with it, its two dates bound the search.
TEST_F(SearchRunTest, AFileDatedFarAheadIsFoundByEverySearchWithoutADateLimit) {
  Tree.WriteFile("y2100.txt", "needle");
  Tree.WriteFile("now.txt", "needle");
  std::filesystem::last_write_time(Tree.Native("y2100.txt"),
                                   std::filesystem::file_time_type::clock::now() + std::chrono::hours(24 * 365 * 75));
  const std::set<std::string> Both{"now.txt", "y2100.txt"};
  Search("*.txt");
  EXPECT_EQ(Names(), Both);
  Search("*.txt", "needle");
  EXPECT_EQ(Names(), Both);
  Host.ShowsDetails = false;
  Search("*.txt", "needle");
  EXPECT_EQ(Names(), Both);
  Host.ShowsDetails = true;
  Host.ModifiedOn = true;
  Host.From = DateOf(Host.FakeClock.NowValue) - 1;
  Host.To = DateOf(Host.FakeClock.NowValue) + 1;
  Search("*.txt", "needle");
  EXPECT_EQ(Names(), std::set<std::string>{"now.txt"});
}

TEST_F(SearchRunTest, SecondSearchListsNothingTwice) {
  Tree.WriteFile("A.txt", "a");
  Tree.WriteFile("Sub/B.TXT", "b");
  Tree.WriteFile("Sub/c.bin", "c");
  Search("*.txt");
  EXPECT_EQ(Names(), (std::set<std::string>{"A.txt", "B.TXT"}));
  EXPECT_EQ((*Host.Grid.Find("B.TXT"))[4], PathOf("Sub"));
  EXPECT_EQ(Cache.List().Count(), 4u);  // every entry met, matching or not
  Tree.WriteFile("Sub/new.txt", "n");
  Search("*.txt");
  EXPECT_EQ(Host.Grid.RowCount(), 3);
  EXPECT_EQ(Host.Grid.Count("B.TXT"), 1);
  // Hits of pass 1 come first (their folder spelled as on disk); new entries come from the walk.
  EXPECT_EQ(Host.Grid.Rows[0][1], "A.txt");
  EXPECT_EQ(Host.Grid.Rows[0][4], Tree.Path());
  EXPECT_EQ((*Host.Grid.Find("B.TXT"))[4], PathOf("Sub"));
  EXPECT_EQ(Host.Grid.Rows[2][1], "new.txt");
  EXPECT_EQ(Host.Grid.Rows[2][4], PathOf("Sub"));
}

TEST_F(SearchRunTest, CachePassReadsContentWhereTheFileIs) {
  Tree.WriteFile("Mixed Case/Letter.TXT", "Dear reader");
  Search("*.txt", "reader");
  Search("*.txt", "reader");
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][1], "Letter.TXT");
  EXPECT_EQ(Host.Grid.Rows[0][4], PathOf("Mixed Case"));
}

TEST_F(SearchRunTest, RootDoesNotTakeSiblingsWithTheSamePrefix) {
  Tree.WriteFile("Data/in.txt", "1");
  Tree.WriteFile("Database/out.txt", "2");
  Search("*.txt");  // fills the cache with both
  EXPECT_EQ(Host.Grid.RowCount(), 2);
  Host.Path = PathOf("Data") + PlatformFileSystem().PathDelimiter();  // one trailing delimiter is dropped
  Search("*.txt");
  EXPECT_EQ(Names(), (std::set<std::string>{"in.txt"}));
  Search("*.t?t");
  EXPECT_EQ(Names(), (std::set<std::string>{"in.txt"}));
}

TEST_F(SearchRunTest, RowsAndTheCacheKeepTheSpellingOfTheDisk) {
  Tree.WriteFile("Data/Sub/a.txt", "a");
  const std::string Typed = Join(Tree.Path(), "DATA");
#ifdef _WIN32
  // The root typed in another case is the same folder: rows and cache spell it as the disk does.
  Host.Path = Typed;
  Search("*.txt");
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][4], PathOf("Data/Sub"));
  Search("*.txt");  // the cache pass's row too
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][4], PathOf("Data/Sub"));
  Cache.SaveCache(Tree.Path("search.cache"));
  EXPECT_EQ(Tree.ReadFile("search.cache"), PathOf("Data/Sub") + "\r\n" + PathOf("Data/Sub/a.txt") + "\r\n");
#else
  // Where case tells names apart, 'DATA' is another folder: the cache pass does not leave the root.
  Tree.MakeFolder("DATA");
  Host.Path = PathOf("Data");
  Search("*.txt");
  Host.Path = Typed;
  Search("*.txt");
  EXPECT_EQ(Host.Grid.RowCount(), 0);
#endif
}

TEST_F(SearchRunTest, DeletedCachedFileIsNotListedButStaysCached) {
  Tree.WriteFile("gone.txt", "g");
  Tree.WriteFile("kept.txt", "k");
  Search("*.txt");
  std::filesystem::remove(Tree.Native("gone.txt"));
  Search("*.txt");
  EXPECT_EQ(Names(), (std::set<std::string>{"kept.txt"}));
  EXPECT_TRUE(Cache.IsCached(PathOf("gone.txt")));
  Cache.SaveCache(Tree.Path("search.cache"));
  EXPECT_NE(Tree.ReadFile("search.cache").find(PathOf("gone.txt") + "\r\n"), std::string::npos);
}

TEST_F(SearchRunTest, DriveRootTakesEveryCachedPathOnTheDrive) {
  Tree.WriteFile("x/deep.txt", "d");
  Tree.WriteFile("top.txt", "t");
  Cache.AddToCache(PathOf("x/deep.txt"));
  Cache.AddToCache(PathOf("top.txt"));
  Cache.AddToCache("Q:\\elsewhere\\other.txt");
  // 'C:\' typed gives the root 'C:' (POSIX: '/' gives '').
  const std::string Path = Tree.Path();
  const std::string Root = Path.size() > 1 && Path[1] == ':' ? Path.substr(0, 2) : std::string();
  CachePass(Root + PlatformFileSystem().PathDelimiter(), "*.txt");
  EXPECT_EQ(Names(), (std::set<std::string>{"deep.txt", "top.txt"}));
}

TEST_F(SearchRunTest, CachePassExtensionShortcutAndMask) {
  for (const char* Name : {"notes.txt", "data.txt", "notes.txt.bak", "a.txt~b"}) Tree.WriteFile(Name, "x");
  for (const char* Name : {"notes.txt", "data.txt", "notes.txt.bak", "a.txt~b"}) Cache.AddToCache(PathOf(Name));
  auto Pass1 = [&](const std::string& Typed) {
    Host.Grid.Rows.clear();
    CachePass(Tree.Path(), Typed);
    return Names();
  };
  // The extension shortcut and the mask agree; a name's own "~" is an ordinary character.
  EXPECT_EQ(Pass1("*.txt"), (std::set<std::string>{"notes.txt", "data.txt"}));
  EXPECT_EQ(Pass1("*.TXT"), (std::set<std::string>{"notes.txt", "data.txt"}));
  EXPECT_EQ(Pass1("*a.txt"), (std::set<std::string>{"data.txt"}));
  EXPECT_EQ(Pass1("*.txt*"), (std::set<std::string>{"notes.txt", "data.txt", "notes.txt.bak", "a.txt~b"}));
  EXPECT_EQ(Pass1("*.t?t"), (std::set<std::string>{"notes.txt", "data.txt"}));
  EXPECT_FALSE(Host.ProgressPositions.empty());
}

TEST_F(SearchRunTest, CancelStopsWithinOneEntryAndQueuedFoldersAreEnteredOnce) {
  for (const char* Folder : {"d1", "d2", "d3"}) {
    Tree.WriteFile(std::string(Folder) + "/x/deep.txt", "d");
    Tree.WriteFile(std::string(Folder) + "/f.txt", "f");
  }
  Host.OnPump = [&] {
    if (Host.Tag == 1 && Host.Enabled && Host.Grid.RowCount() == 2) Host.Click(Cache);  // the second click
  };
  Search("**");  // every entry a row: the rows are the entries seen
  EXPECT_EQ(std::count(Host.StatusLog.begin(), Host.StatusLog.end(), "0:Cancelling..."), 1);
  // The root and the two folders met before the cancel.
  EXPECT_EQ(Host.Status[1], "Searched 2 files, 3 folders");
  EXPECT_EQ(Host.Grid.RowCount(), 2);
}

TEST_F(SearchRunTest, CancelledRunStillEndsIdleWithTotalsAndHistories) {
  Tree.WriteFile("a/1.txt", "1");
  Tree.WriteFile("b/2.txt", "2");
  Host.OnPump = [&] {
    if (Host.Tag == 1 && Host.Enabled) Host.Click(Cache);
  };
  Search("*");
  EXPECT_TRUE(Host.Enabled);
  EXPECT_EQ(Host.Tag, 0);
  EXPECT_EQ(Host.Caption, "&Search");
  EXPECT_EQ(Host.Status[3], "0KB");
  EXPECT_EQ(Host.Histories.size(), 1u);
  EXPECT_LE(Host.Grid.RowCount(), 1);
}

TEST_F(SearchRunTest, AClickWhileTheFirstStatusPumpsCancelsInsteadOfNesting) {
  Tree.WriteFile("a/1.txt", "1");
  int Clicks = 0;
  Host.OnPump = [&] {
    if (Clicks++ == 0) Host.Click(Cache);  // Enter pressed just as the run begins
  };
  Search("*");
  EXPECT_EQ(std::count(Host.StatusLog.begin(), Host.StatusLog.end(), "0:Cancelling..."), 1);
  EXPECT_EQ(Host.Histories.size(), 1u);  // one run, not one inside another
  EXPECT_TRUE(Host.Enabled);
  EXPECT_EQ(Host.Tag, 0);
  EXPECT_EQ(Host.Grid.UpdateCount, 0);
}

// A long cache pass (a text read in every cached candidate) shows what it is doing from its start:
// what it has checked, what it found and where, never blank panels.
TEST_F(SearchRunTest, TheCachePassShowsItsCountsFromItsStart) {
  for (const char* Name : {"a.txt", "b.txt", "Sub/c.txt"}) Tree.WriteFile(Name, "needle");
  Search("*.txt", "needle");
  Host.StatusLog.clear();
  Host.FakeClock.TickStep = 1000;  // every candidate takes longer than a refresh interval
  Search("*.txt", "needle");
  const auto At = [&](const std::string& Line) {
    return std::find(Host.StatusLog.begin(), Host.StatusLog.end(), Line) - Host.StatusLog.begin();
  };
  // The walk begins where the status says "Searching..." a second time.
  const auto First = At("0:Searching...");
  const auto Walk =
      std::find(Host.StatusLog.begin() + First + 1, Host.StatusLog.end(), "0:Searching...") - Host.StatusLog.begin();
  EXPECT_LT(At("1:Checked 0 of 3 cached files"), Walk);
  EXPECT_LT(At("1:Checked 2 of 3 cached files"), Walk);
  EXPECT_LT(At("3:Searching " + PathOf("Sub") + "..."), Walk);
  EXPECT_EQ(Host.Grid.RowCount(), 3);
}

TEST_F(SearchRunTest, CancelDuringTheCachePassStopsIt) {
  for (const char* Name : {"a.txt", "b.txt", "c.txt"}) Tree.WriteFile(Name, "x");
  Search("*.txt");
  Tree.WriteFile("d.txt", "d");
  int Cancels = 0;
  Host.OnPump = [&] {
    if (Host.Tag == 1 && Host.Enabled && Host.Grid.RowCount() == 1) {  // the cache pass shows its first row
      ++Cancels;
      Host.Click(Cache);
    }
  };
  Search("*.txt");
  EXPECT_EQ(Cancels, 1);
  // Neither the other cached hits nor the walk's new file are listed.
  EXPECT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_FALSE(Cache.IsCached(PathOf("d.txt")));
  EXPECT_TRUE(Host.Enabled);
  EXPECT_EQ(Host.Histories.size(), 2u);
}

TEST_F(SearchRunTest, ProgressRefreshEveryIntervalKeepsTheUpdateBracketBalanced) {
  for (int I = 0; I < 6; ++I) Tree.WriteFile("f" + std::to_string(I) + ".txt", "x");
  Host.FakeClock.TickStep = 400;  // every other entry passes the 750 ms mark
  bool Deleted = false;
  int CountAtLastRefresh = 0;
  Host.OnPump = [&] {
    if (Host.StatusLog.empty()) return;
    const std::string& Last = Host.StatusLog.back();
    if (Last.rfind("2:Found", 0) == 0) CountAtLastRefresh = Host.Grid.RowCount();
    // A result command that removes the rows added since the last refresh, while the status bar
    // pumps messages.
    if (!Deleted && Last.rfind("1:Searched", 0) == 0 && Host.Grid.RowCount() > CountAtLastRefresh &&
        CountAtLastRefresh > 0) {
      Host.Grid.Rows.resize(static_cast<std::size_t>(CountAtLastRefresh));
      Deleted = true;
    }
  };
  Search("*.txt");
  EXPECT_TRUE(Deleted);
  EXPECT_EQ(Host.Grid.UpdateCount, 0);
  EXPECT_GT(Host.ProgressSteps, 0);
  EXPECT_EQ(Host.FakeClock.Slept, 150u * static_cast<std::uint64_t>(Host.ProgressSteps));
  const auto Has = [&](const std::string& Line) {
    return std::find(Host.StatusLog.begin(), Host.StatusLog.end(), Line) != Host.StatusLog.end();
  };
  EXPECT_TRUE(Has("3:Searching " + Tree.Path() + "..."));
  bool Counted = false;
  for (const auto& Line : Host.StatusLog)
    Counted |= Line.rfind("1:Searched ", 0) == 0 && Line.find(" files, 1 folders") != std::string::npos;
  EXPECT_TRUE(Counted);
  EXPECT_EQ(FormatThousands(1234567, Host.Settings), "1,234,567");
}

TEST_F(SearchRunTest, FailureInsideARunStillResetsButtonAndGrid) {
  struct TFailingRows : TRecordingRows {
    void Add(const std::string&, const TFileEntry&) override { throw std::runtime_error("grid full"); }
  };
  TFailingRows Rows;
  Tree.WriteFile("a.txt", "a");
  class THost : public TTestHost {
   public:
    explicit THost(TResultSink& Sink) : FSink(Sink) {}
    TResultSink& Results() override { return FSink; }
    TResultSink& FSink;
  } Host2(Rows);
  Host2.Path = Tree.Path();
  Host2.Name = "*.txt";
  Host2.FakeClock.NowValue = ProgramClock().Now();
  EXPECT_THROW(Host2.Click(Cache), std::runtime_error);
  EXPECT_EQ(Host2.Caption, "&Search");
  EXPECT_EQ(Host2.Tag, 0);
  EXPECT_TRUE(Host2.Enabled);
  EXPECT_EQ(Rows.UpdateCount, 0);
  EXPECT_FALSE(Host2.ProgressVisible);
}

TEST_F(SearchRunTest, FailureDuringAProgressRefreshLeavesTheBracketBalanced) {
  for (int I = 0; I < 4; ++I) Tree.WriteFile("f" + std::to_string(I) + ".txt", "x");
  Host.FakeClock.TickStep = 1000;  // every entry refreshes
  Host.OnPump = [&] {
    if (!Host.StatusLog.empty() && Host.StatusLog.back().rfind("1:Searched", 0) == 0 && Host.Grid.RowCount() > 0)
      throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(Search("*.txt"), std::runtime_error);
  EXPECT_EQ(Host.Grid.UpdateCount, 0);
  EXPECT_EQ(Host.Tag, 0);
  EXPECT_TRUE(Host.Enabled);
}

TEST_F(SearchRunTest, ARelativeRootIsCachedInFullAndShownAsTyped) {
  Tree.WriteFile("Sizes/a.txt", "a");
  struct TWorkingFolder {
    std::filesystem::path Saved = std::filesystem::current_path();
    ~TWorkingFolder() { std::filesystem::current_path(Saved); }
  } Restore;
  std::filesystem::current_path(Tree.Native(""));
  Host.Path = "Sizes";
  Search("*.txt");
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][4], "Sizes");
  EXPECT_EQ(Cache.List().Count(), 1u);
  EXPECT_TRUE(Cache.IsCached(PathOf("Sizes/a.txt")));
  Search("*.txt");  // listed by the cache pass
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  EXPECT_EQ(Host.Grid.Rows[0][4], "Sizes");
}

TEST_F(SearchRunTest, LinkedFolderIsListedButNotEntered) {
  Tree.WriteFile("real/inside.txt", "i");
  std::error_code Error;
  std::filesystem::create_directory_symlink(Tree.Native("real"), Tree.Native("real/loop"), Error);
  if (Error) GTEST_SKIP() << "no folder links here: " << Error.message();
  Search("*");
  EXPECT_EQ(Host.Grid.RowCount(), 3);
  EXPECT_EQ(Names(), (std::set<std::string>{"real", "inside.txt", "loop"}));
  EXPECT_EQ((*Host.Grid.Find("loop"))[5], "Folder");
  Host.ShowsDetails = false;  // nothing asks whether the link leads to a folder: still not entered
  Search("*");
  EXPECT_EQ(Names(), (std::set<std::string>{"real", "inside.txt", "loop"}));
  EXPECT_EQ(Host.Grid.RowCount(), 3);
}

#ifdef _WIN32
TEST_F(SearchRunTest, AFolderRespelledInTheCaseOfAnyLetterIsListedOnceAndCachedAsSpelledNow) {
  Tree.WriteFile("R/\xC3\x89T\xC3\x89/b.txt", "b");  // R\ÉTÉ\b.txt
  Host.Path = PathOf("R");
  Search("b.txt");
  ASSERT_EQ(Host.Grid.RowCount(), 1);
  std::filesystem::rename(Tree.Native("R/\xC3\x89T\xC3\x89"), Tree.Native("R/moving"));
  std::filesystem::rename(Tree.Native("R/moving"), Tree.Native("R/\xC3\xA9t\xC3\xA9"));  // R\été
  Search("b.txt");
  EXPECT_EQ(Host.Grid.RowCount(), 1);
  // One line for the file, in the spelling met last.
  const std::ptrdiff_t Line = Cache.List().IndexOf(PathOf("R/\xC3\x89T\xC3\x89/b.txt"));
  ASSERT_GE(Line, 0);
  EXPECT_EQ(Cache.List().Text(static_cast<std::size_t>(Line)), PathOf("R/\xC3\xA9t\xC3\xA9/b.txt"));
  EXPECT_EQ(Cache.List().Order().size(), 2u);  // the folder and the file, each once
}
#else
TEST_F(SearchRunTest, NamesThatDifferOnlyInCaseOnACaseSensitiveDiskAreListedEveryTime) {
  Tree.WriteFile("Dir/x.txt", "1");
  Tree.WriteFile("dir/x.txt", "2");
  Search("x.txt");
  EXPECT_EQ(Host.Grid.Count("x.txt"), 2);
  Search("x.txt");
  EXPECT_EQ(Host.Grid.Count("x.txt"), 2);
}

TEST_F(SearchRunTest, NamesTheCacheFileCannotHoldStayOutAndOtherBytesComeBackAsTheyWere) {
  Tree.WriteFile("new\nline.txt", "n");
  const std::string Latin1 = "caf\xE9.txt";  // no UTF-8: a name is any bytes here
  std::ofstream(Tree.Native("") / Latin1) << "c";
  Search("*.txt");
  EXPECT_EQ(Names(), (std::set<std::string>{"new\nline.txt", Latin1}));
  Cache.SaveCache(Tree.Path("search.cache"));
  EXPECT_EQ(Tree.ReadFile("search.cache"), PathOf(Latin1) + "\r\n");
  TSearchCache Loaded;
  Loaded.LoadCache(Tree.Path("search.cache"));
  ASSERT_EQ(Loaded.List().Count(), 1u);
  EXPECT_EQ(Loaded.List().Text(0), PathOf(Latin1));
  Host.Click(Loaded);
  EXPECT_EQ(Host.Grid.RowCount(), 2);  // each once: the cache pass lists the name it kept, the walk the other
}

// "\\" is an ordinary character of names here: the cache keeps such a name whole in its folder, and a
// repeated search lists each file once, in its own folder.
TEST_F(SearchRunTest, ABackslashInANameIsPartOfTheName) {
  Tree.WriteFile("F/\\lead.txt", "q");
  Tree.WriteFile("F/lead.txt", "qq");
  Tree.WriteFile("F/a\\b.txt", "x");
  const std::multiset<std::string> Expected{PathOf("F") + "|\\lead.txt", PathOf("F") + "|a\\b.txt",
                                            PathOf("F") + "|lead.txt"};
  for (int Run = 0; Run < 2; ++Run) {
    Search("*.txt");
    std::multiset<std::string> Rows;
    for (const auto& Row : Host.Grid.Rows) Rows.insert(Row[4] + "|" + Row[1]);
    EXPECT_EQ(Rows, Expected) << "search " << Run + 1;
  }
  const TSFCList& List = Cache.List();
  const std::ptrdiff_t Line = List.IndexOf(PathOf("F/a\\b.txt"));
  ASSERT_GE(Line, 0);
  EXPECT_EQ(List.NameOf(static_cast<std::size_t>(Line)), "a\\b.txt");
}

TEST_F(SearchRunTest, PipesAreNeverReadNeitherForTextNorAsTheCacheFile) {
  ASSERT_EQ(mkfifo(Tree.Native("pipe").c_str(), 0600), 0);
  std::filesystem::create_symlink(Tree.Native("pipe"), Tree.Native("pipe.txt"));  // the link has a size of its own
  Tree.WriteFile("plain.txt", "needle");
  Search("*.txt", "needle");
  EXPECT_EQ(Names(), (std::set<std::string>{"plain.txt"}));
  TSearchCache FromPipe;
  EXPECT_THROW(FromPipe.LoadCache(Tree.Path("pipe")), EFileError);
}

TEST_F(SearchRunTest, ALinkIsJudgedByTheSizeOfItsTarget) {
  Tree.WriteFile("big.bin", "needle" + std::string(300000, '.'));
  Tree.WriteFile("small.bin", "needle");
  std::filesystem::create_symlink(Tree.Native("big.bin"), Tree.Native("big.txt"));
  std::filesystem::create_symlink(Tree.Native("small.bin"), Tree.Native("small.txt"));
  Search("*.txt", "needle");
  EXPECT_EQ(Names(), (std::set<std::string>{"small.txt"}));
  EXPECT_EQ(Host.Status[3], "Some files larger than 300KB were not searched");
}
#endif
