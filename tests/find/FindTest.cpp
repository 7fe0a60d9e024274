// torvane-find end to end: the built program runs on temporary trees (natively, and in the Windows
// build under Wine) and is judged by its output, its exit status and the cache file it leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>

#include "core/Text.h"
#include "find/FindProgram.h"
#include "platform/Platform.h"
#include "results/ResultCsv.h"
#include "results/ResultRows.h"
#include "search/SearchRun.h"
#include "tests/app/TestHost.h"
#include "tests/find/ChildProcess.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

const char Delimiter = PlatformFileSystem().PathDelimiter();

// The built program, as this process names it (Wine maps the build's folders to drive Z:).
std::string Program() {
  std::string Path = TORVANE_FIND_PROGRAM;
#ifdef _WIN32
  if (!Path.empty() && Path[0] == '/') {
    std::replace(Path.begin(), Path.end(), '/', '\\');
    Path = "Z:" + Path;
  }
#endif
  return Path;
}

std::vector<std::string> Split(const std::string& Text, char End) {
  std::vector<std::string> Items;
  std::size_t Start = 0;
  for (std::size_t At; (At = Text.find(End, Start)) != std::string::npos; Start = At + 1)
    Items.push_back(Text.substr(Start, At - Start));
  EXPECT_EQ(Start, Text.size()) << "the last item is not ended";
  return Items;
}

std::set<std::string> Lines(const std::string& Text, char End = '\n') {
  const std::vector<std::string> Items = Split(Text, End);
  return std::set<std::string>(Items.begin(), Items.end());
}

// Records of RFC 4180 text: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& Text) {
  std::vector<std::vector<std::string>> Records(1, std::vector<std::string>(1));
  bool Quoted = false;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    const char C = Text[I];
    if (Quoted) {
      if (C == '"' && I + 1 < Text.size() && Text[I + 1] == '"') {
        Records.back().back() += '"';
        ++I;
      } else if (C == '"') {
        Quoted = false;
      } else {
        Records.back().back() += C;
      }
    } else if (C == '"') {
      Quoted = true;
    } else if (C == ',') {
      Records.back().emplace_back();
    } else if (C == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') {
      Records.emplace_back(1);
      ++I;
    } else if (C == '\r' || C == '\n') {
      ADD_FAILURE() << "a line break outside quotes that is no CR LF";
    } else {
      Records.back().back() += C;
    }
  }
  EXPECT_EQ(Records.back(), std::vector<std::string>(1)) << "the last record is not ended by CR LF";
  Records.pop_back();
  return Records;
}

class FindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Tree.WriteFile("Notes, draft.txt", "plain words\r\n");
    Tree.WriteFile("\xC3\xA9t\xC3\xA9 \xE6\x97\xA5.txt", "x");  // "été 日.txt"
    Tree.WriteFile("Sub/Report.TXT", std::string(2000, '.') + "Hello World");
    Tree.MakeFolder("Sub/reports");
#ifndef _WIN32
    // Names Windows does not allow.
    Tree.WriteFile("say \"hi\".txt", "x");
    Tree.WriteFile("line\nbreak.txt", "x");
#endif
    CacheFile = Work.Path("find.cache");
  }

  // Without a cache, so that every hit comes from the walk.
  TChildResult Find(std::vector<std::string> Arguments) const {
    Arguments.insert(Arguments.begin(), "--no-cache");
    return RunChild(Program(), Arguments);
  }
  TChildResult FindCached(std::vector<std::string> Arguments) const {
    Arguments.insert(Arguments.begin(), {"--cache", CacheFile});
    return RunChild(Program(), Arguments);
  }
  std::string PathOf(const std::string& Relative) const { return Tree.Path(Relative); }
  // Every .txt of SetUp, as full paths.
  std::set<std::string> TextFiles() const {
    std::set<std::string> Paths = {PathOf("Notes, draft.txt"), PathOf("\xC3\xA9t\xC3\xA9 \xE6\x97\xA5.txt"),
                                   PathOf("Sub/Report.TXT")};
#ifndef _WIN32
    Paths.insert({PathOf("say \"hi\".txt"), PathOf("line\nbreak.txt")});
#endif
    return Paths;
  }

  TTempFolder Tree;
  TTempFolder Work;  // the cache and other files outside the searched tree
  std::string CacheFile;
};

}  // namespace

TEST_F(FindTest, PathsNulAndLongOutput) {
  TChildResult Run = Find({"-0", Tree.Path(), "*.txt"});
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Lines(Run.Out, '\0'), TextFiles());
  EXPECT_EQ(Run.Err, "");                                      // a list of paths reads no sizes, so it has no total
  EXPECT_EQ(Find({"-l", Tree.Path(), "*.txt"}).Err, "2KB\n");  // the status bar's total: some 2,030 bytes

  Run = Find({Tree.Path(), "report"});  // a plain word: names that contain it
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Lines(Run.Out), (std::set<std::string>{PathOf("Sub/Report.TXT"), PathOf("Sub/reports")}));

  Run = Find({"--long", Tree.Path(), "*rep*"});
  std::vector<std::string> Rows = Split(Run.Out, '\n');
  std::sort(Rows.begin(), Rows.end());
  ASSERT_EQ(Rows.size(), 2u);
  TFileEntry Entry;
  ASSERT_TRUE(PlatformFileSystem().FindEntry(PathOf("Sub/Report.TXT"), Entry));
  // The six columns as the grid shows them; the walk's hits show their folder as found.
  EXPECT_EQ(Rows[0],
            "0\tReport.TXT\t1k \t" + DateText(Entry.Time, FormatSettings()) + "\t" + PathOf("Sub") + "\tText Document");
  ASSERT_TRUE(PlatformFileSystem().FindEntry(PathOf("Sub/reports"), Entry));
  EXPECT_EQ(Rows[1], "1\treports\t0k \t" + DateText(Entry.Time, FormatSettings()) + "\t" + PathOf("Sub") + "\tFolder");
}

TEST_F(FindTest, CsvQuotesAwkwardNamesAndWritesExactValues) {
  const TChildResult Run = Find({"--csv", Tree.Path(), "*rep*"});
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  const auto Records = ParseCsv(Run.Out);
  ASSERT_FALSE(Records.empty());
  EXPECT_EQ(Records[0], (std::vector<std::string>{"Name", "Size", "Modified", "Folder", "Type"}));
  EXPECT_EQ(Run.Out.rfind("Name,Size,Modified,Folder,Type\r\n", 0), 0u);
  // Sizes in bytes (none for a folder) and times to the second, whatever the locale shows.
  TFileEntry Entry;
  ASSERT_TRUE(PlatformFileSystem().FindEntry(PathOf("Sub/Report.TXT"), Entry));
  const std::vector<std::string> File{"Report.TXT", "2011", IsoDateTimeText(Entry.Time), PathOf("Sub"),
                                      "Text Document"};
  ASSERT_TRUE(PlatformFileSystem().FindEntry(PathOf("Sub/reports"), Entry));
  const std::vector<std::string> Folder{"reports", "", IsoDateTimeText(Entry.Time), PathOf("Sub"), "Folder"};
  EXPECT_EQ(std::set<std::vector<std::string>>(Records.begin() + 1, Records.end()),
            (std::set<std::vector<std::string>>{File, Folder}));

  std::set<std::string> Paths;
  for (const auto& Record : ParseCsv(Find({"--csv", Tree.Path(), "*.txt"}).Out)) {
    ASSERT_EQ(Record.size(), 5u);
    if (Record[0] != "Name") Paths.insert(Record[3] + Delimiter + Record[0]);
  }
  EXPECT_EQ(Paths, TextFiles());
  EXPECT_NE(Find({"--csv", Tree.Path(), "*.txt"}).Out.find("\"Notes, draft.txt\""), std::string::npos);
}

TEST_F(FindTest, CsvTimesKeepAnOddSecond) {
  // Seven seconds past a minute (time zones differ from UTC by whole minutes).
  const fs::path File = fs::u8path(PathOf("Sub/Report.TXT"));
  const auto Written = std::chrono::time_point_cast<std::chrono::seconds>(fs::last_write_time(File));
  const auto Seconds = Written.time_since_epoch().count();
  fs::last_write_time(File, Written + std::chrono::seconds(7 - (Seconds % 60 + 60) % 60));
  const auto Records = ParseCsv(Find({"--csv", Tree.Path(), "Report.TXT"}).Out);
  ASSERT_EQ(Records.size(), 2u);
  EXPECT_EQ(Records[1][2].substr(Records[1][2].size() - 3), ":07") << Records[1][2];
}

TEST_F(FindTest, ContentSizeAndDateCriteria) {
  Tree.WriteFile("big.txt", std::string(ContentSizeLimit, 'h') + "hello");
  Tree.WriteFile("k5.bin", std::string(5 * 1024, 'x'));
  TChildResult Run = Find({Tree.Path(), "", "hELLo"});  // folders never contain a text
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Out, PathOf("Sub/Report.TXT") + "\n");
  EXPECT_EQ(Run.Err, std::string(LargeFilesText) + "\n");

  Run = Find({"--at-least", "2", "--at-most", "5", Tree.Path()});
  EXPECT_EQ(Run.Out, PathOf("k5.bin") + "\n");
  Run = Find({"--at-least=292", Tree.Path()});
  EXPECT_EQ(Run.Out, PathOf("big.txt") + "\n");
  Run = Find({"--at-most", "0", Tree.Path(), "sub"});  // folders have size 0
  EXPECT_EQ(Run.Out, PathOf("Sub") + "\n");

  const fs::path Old = Tree.Native("k5.bin");
  fs::last_write_time(Old, fs::last_write_time(Old) - std::chrono::hours(24 * 30));
  const TDateTime Today = ProgramClock().Today();
  const std::string TodayText = FormatDateTimePicture(FormatSettings().ShortDateFormat, Today, FormatSettings());
  Run = Find({"--modified", "2001-01-01", TodayText, Tree.Path(), "*.bin"});
  EXPECT_EQ(Run.Out, PathOf("k5.bin") + "\n");
  Run = Find({"--modified", TodayText, TodayText, Tree.Path(), "*.bin"});
  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Out, "");
}

TEST_F(FindTest, ExitStatusesAndMessages) {
  TChildResult Run = Find({Tree.Path(), "nothing-of-the-kind"});
  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Out, "");
  EXPECT_EQ(Run.Err, "");  // a list of paths has no total
  EXPECT_EQ(Find({"-l", Tree.Path(), "nothing"}).Err, "0KB\n");
  EXPECT_EQ(Find({"-q", "-l", Tree.Path(), "nothing"}).Err, "");

  Run = Find({Tree.Path("missing"), "x"});
  EXPECT_EQ(Run.Status, 2);
  EXPECT_EQ(Run.Err, "torvane-find: The entered folder does not exist: " + Tree.Path("missing") + "\n");
  Run = Find({Tree.Path(), "[a"});
  EXPECT_EQ(Run.Status, 2);
  EXPECT_EQ(Run.Err,
            "torvane-find: The name mask \"*[a*\" cannot be used: the \"[\" at character 2 has no \"]\" "
            "after it. To find \"[\" itself in names, write #[.\n");
  Run = Find({"--at-least", "ten", Tree.Path()});
  EXPECT_EQ(Run.Status, 2);
  EXPECT_NE(Run.Err.find("--at-least needs a whole number of KB"), std::string::npos);
  EXPECT_EQ(Find({"--modified", "2024-02-30", "2024-03-01", Tree.Path()}).Status, 2);
  EXPECT_EQ(Find({"--csv", "-0", Tree.Path()}).Status, 2);
  EXPECT_EQ(Find({}).Status, 2);
  EXPECT_EQ(Run.Out, "");

  Run = Find({"--help"});
  EXPECT_EQ(Run.Status, 0);
  EXPECT_EQ(Run.Out.rfind("Usage: torvane-find [OPTION]... FOLDER [NAME [TEXT]]\n", 0), 0u);
  Run = Find({"--version"});
  EXPECT_EQ(Run.Status, 0);
  EXPECT_EQ(Run.Out.rfind("torvane-find (Torvane Search) ", 0), 0u);
}

TEST_F(FindTest, SeveralFoldersSeparatedBySemicolonsAreSearchedInTurn) {
  Work.WriteFile("w.txt", "w");
  TChildResult Run = Find({Tree.Path("Sub") + ";" + Work.Path(), "*.txt"});
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Run.Out, PathOf("Sub/Report.TXT") + "\n" + Work.Path("w.txt") + "\n");
  Run = Find({Work.Path() + ";" + Tree.Path("missing"), "x"});
  EXPECT_EQ(Run.Status, 2);
  EXPECT_EQ(Run.Err, "torvane-find: The entered folder does not exist: " + Tree.Path("missing") + "\n");
}

// The window's search and torvane-find read and write one cache: hits that only the cache knows are
// listed by the other program's search at once. On POSIX they lie behind a folder link, which the walk
// lists but does not enter (the other program's search started inside it); where there are no folder
// links (Wine), the hit is listed once, by the cache pass or by the walk, never by both.
TEST_F(FindTest, CacheSharedWithTheWindowsSearch) {
#ifdef _WIN32
  const std::string Inside = Tree.Path();
  const std::string Hit = PathOf("Sub") + Delimiter + "Report.TXT";
#else
  fs::create_directory_symlink(Tree.Native("Sub"), Tree.Native("Link"));
  const std::string Inside = PathOf("Link");
  const std::string Hit = PathOf("Link/Report.TXT");
#endif
  // The window's search leaves the cache, torvane-find lists from it.
  {
    TTestHost Window;
    Window.FakeClock.NowValue = ProgramClock().Now();
    Window.Path = Inside;
    Window.Name = "*.txt";
    TSearchCache Cache;
    Window.Click(Cache);
    Cache.SaveCache(CacheFile);
  }
  TChildResult Run = FindCached({Tree.Path(), "report"});
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  EXPECT_EQ(Lines(Run.Out).count(Hit), 1u) << Run.Out;

  // torvane-find leaves the cache, the window's search lists from it.
  fs::remove(fs::u8path(CacheFile));
  Run = FindCached({Inside, "*.txt"});
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  TTestHost Window;
  Window.FakeClock.NowValue = ProgramClock().Now();
  Window.Path = Tree.Path();
  Window.Name = "report";
  TSearchCache Cache;
  Cache.LoadCache(CacheFile);
  Window.Click(Cache);
  std::set<std::string> Paths;
  for (const auto& Row : Window.Grid.Rows) Paths.insert(Row[rcFolder] + Delimiter + Row[rcName]);
  EXPECT_EQ(Paths.count(Hit), 1u);
}

TEST_F(FindTest, AFileThatIsNoSearchCacheIsLeftAlone) {
  const std::string Text = "Meeting notes\r\nbring the figures\r\n";
  const std::string Binary("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
  for (const std::string& Content : {Text, Binary}) {
    Work.WriteFile("find.cache", Content);
    const TChildResult Run = FindCached({Tree.Path(), "*.txt"});
    EXPECT_EQ(Run.Status, 2);
    EXPECT_NE(Run.Err.find("is not a search cache"), std::string::npos) << Run.Err;
    EXPECT_EQ(Run.Out, "");
    EXPECT_EQ(Work.ReadFile("find.cache"), Content);
  }
  EXPECT_NE(Find({"--help"}).Out.find("up to its first zero byte"), std::string::npos);
}

TEST_F(FindTest, DefaultCacheIsSearchCacheBesideTheProgram) {
  const std::string Copy = Work.Path(fs::u8path(Program()).filename().u8string());
  fs::copy_file(fs::u8path(Program()), fs::u8path(Copy));
  const TChildResult Run = RunChild(Copy, {Tree.Path(), "*.txt"});
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  // Every entry met, matching or not, as the window keeps them.
  const std::string Cached = Work.ReadFile("search.cache");
  EXPECT_NE(Cached.find(PathOf("Sub/reports") + "\r\n"), std::string::npos);
  EXPECT_NE(Cached.find(PathOf("Notes, draft.txt") + "\r\n"), std::string::npos);
}

TEST_F(FindTest, NoCacheLeavesTheProgramsFolderAlone) {
  TTempFolder Home;
  const std::string Copy = Home.Path(fs::u8path(Program()).filename().u8string());
  fs::copy_file(fs::u8path(Program()), fs::u8path(Copy));
  const auto Before = fs::last_write_time(fs::u8path(Home.Path()));
  EXPECT_EQ(RunChild(Copy, {"--no-cache", Tree.Path(), "*.txt"}).Status, 0);
  // Not even a file written to see whether the folder can be written, and removed again.
  EXPECT_EQ(fs::last_write_time(fs::u8path(Home.Path())), Before);
}

TEST_F(FindTest, CtrlCStopsTheSearchAndSavesTheCache) {
  // More results than the pipe holds: the program waits on its output until the test reads on.
  const std::string Long(60, 'n');
  for (int I = 0; I < 3000; ++I) Tree.WriteFile("many/" + Long + std::to_string(I) + ".dat", "");
  TChildProcess Child(Program(), {"--cache", CacheFile, Tree.Path("many"), "*.dat"});
  Child.ReadOut(4096);  // running, its interrupt handler in place
  const bool Sent = Child.Interrupt();
  const TChildResult Run = Child.Finish();
  if (!Sent) GTEST_SKIP() << "no console to send Ctrl+C through (Wine cannot send console events)";
  EXPECT_TRUE(Run.Interrupted) << Run.Status << " " << Run.Err;
  EXPECT_NE(Run.Err.find(StoppedText), std::string::npos) << Run.Err;
  const std::vector<std::string> Found = Split(Run.Out, '\n');
  EXPECT_GT(Found.size(), 0u);
  EXPECT_LT(Found.size(), 3000u);
  // Whole: every line a complete path of the tree; every hit listed is in it.
  const std::string Cached = Work.ReadFile("find.cache");
  ASSERT_GT(Cached.size(), 2u);
  EXPECT_EQ(Cached.substr(Cached.size() - 2), "\r\n");
  std::set<std::string> Paths;
  for (std::string Line : Split(Cached, '\n')) {
    ASSERT_EQ(Line.back(), '\r');
    Line.pop_back();
    EXPECT_EQ(Line.rfind(Tree.Path("many") + Delimiter, 0), 0u) << Line;
    Paths.insert(Line);
  }
  for (const std::string& Hit : Found) EXPECT_EQ(Paths.count(Hit), 1u) << Hit;
}

#ifndef _WIN32
TEST_F(FindTest, ProgressLineOnlyOnATerminal) {
  // The cache pass shows how far it has gone through the cached candidates.
  ASSERT_EQ(FindCached({Tree.Path(), "*.txt"}).Status, 0);
  TChildProcess Child(Program(), {"--cache", CacheFile, "-l", Tree.Path(), "*.txt"}, true);
  const TChildResult Run = Child.Finish();
  EXPECT_EQ(Run.Status, 0);
  EXPECT_NE(Run.Err.find("\rLooking up cached paths... 50%"), std::string::npos) << Run.Err;
  // Erased before the closing text.
  EXPECT_EQ(Run.Err.substr(Run.Err.size() - 6), "\r2KB\r\n");
  EXPECT_EQ(FindCached({"-l", Tree.Path(), "*.txt"}).Err, "2KB\n");
}
#endif

TEST_F(FindTest, NamesAndTextsMatchInAnyCaseOfEveryScriptAndUtf16FilesAreText) {
  Tree.WriteFile("R\xC3\x89SUM\xC3\x89-notes.txt", "x");  // RÉSUMÉ-notes.txt
  Tree.WriteFile("\xCE\xA9mega.txt", "x");                // Ωmega.txt
  const auto Wide = [](std::string_view Ascii, bool Mark) {
    std::string Bytes = Mark ? "\xFF\xFE" : "";
    for (const char C : Ascii) Bytes += std::string{C, '\0'};
    return Bytes;
  };
  Tree.WriteFile("Text/utf8.txt",
                 "Wir sind \xC3\x9C"
                 "BER alles");  // ÜBER
  Tree.WriteFile("Text/le.txt", Wide("Report: Quarterly figures", true));
  Tree.WriteFile("Text/no-mark.txt", Wide("Report: Quarterly figures", false));
  EXPECT_EQ(Find({Tree.Path(), "r\xC3\xA9sum\xC3\xA9"}).Out, PathOf("R\xC3\x89SUM\xC3\x89-notes.txt") + "\n");
  EXPECT_EQ(Find({Tree.Path(), "\xCF\x89mega"}).Out, PathOf("\xCE\xA9mega.txt") + "\n");
  EXPECT_EQ(Find({Tree.Path("Text"), "",
                  "\xC3\xBC"
                  "ber"})
                .Out,
            PathOf("Text/utf8.txt") + "\n");  // über
  EXPECT_EQ(Find({Tree.Path("Text"), "", "quarterly"}).Out, PathOf("Text/le.txt") + "\n");
}
