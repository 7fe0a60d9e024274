// The search cache in the window: loaded while the window answers, never saved in part.
#include "platform/Platform.h"
#include "tests/app/MainFormTest.h"

namespace {

// The disk, with the cache file read a line at a time, slowly, or failing after its first lines.
class TSlowCacheFile : public TSlowFolders {
 public:
  bool FailAfterFirstLines = false;
  bool ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece) override {
    std::string Data;
    if (!ReadFile(Path, std::size_t(1) << 20, Data, nullptr)) return false;
    std::size_t Lines = 0;
    for (std::size_t Start = 0; Start < Data.size();) {
      const std::size_t Break = Data.find('\n', Start);
      const std::size_t End = Break == std::string::npos ? Data.size() : Break + 1;
      if (FailAfterFirstLines && ++Lines > 2) return false;
      Sleep(60);
      OnPiece(std::string_view(Data).substr(Start, End - Start));
      Start = End;
    }
    return true;
  }
  bool FileExists(const std::string& Path) override { return PlatformFileSystem().FileExists(Path); }
};

}  // namespace

TEST_F(MainFormTest, ASearchStartedWhileTheCacheLoadsWaitsForItThenLists) {
  std::string Cached;
  for (int I = 0; I < 8; ++I) {
    Tree.WriteFile("f" + std::to_string(I) + ".txt", "x");
    Cached += Tree.Path("f" + std::to_string(I) + ".txt") + "\r\n";
  }
  Settings.WriteFile("search.cache", Cached);
  TSlowCacheFile Slow;
  FileSystem = &Slow;
  TForm1& Form = Start({Tree.Path(), "*.txt"});
  Form.startTimer.SetEnabled(false);
  // The wait says what it waits for (the run's first status change comes before it).
  bool WaitShown = false;
  TWhenReady Watch([&] { return Form.StatusBar1.Panel(0).Text == "Loading the search cache..."; },
                   [&] { WaitShown = Form.Button1.Tag == 1; });
  Form.Button1Click(&Form.Button1);
  EXPECT_TRUE(WaitShown);
  EXPECT_EQ(Form.flist.Model().RowCount(), 8);  // each once: by the cache pass, not again by the walk
  EXPECT_FALSE(Form.Cache().Changed());
  this->Form.reset();
  EXPECT_EQ(Settings.ReadFile("search.cache"), Cached);  // unchanged: not written again
}

TEST_F(MainFormTest, ACacheThatWasNotReadWholeIsNeverWrittenOver) {
  std::string Cached;
  for (int I = 0; I < 6; ++I) Cached += Tree.Path("old" + std::to_string(I) + ".txt") + "\r\n";
  Settings.WriteFile("search.cache", Cached);
  Tree.WriteFile("new.txt", "n");
  TSlowCacheFile Failing;
  Failing.FailAfterFirstLines = true;
  FileSystem = &Failing;
  TForm1& Form = Start({Tree.Path(), "*.txt"});
  Form.startTimer.SetEnabled(false);
  Form.Button1Click(&Form.Button1);  // waits for the failed load, then walks and records new.txt
  EXPECT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Form.flist.Model().RowCount(), 1);
  this->Form.reset();
  EXPECT_EQ(Settings.ReadFile("search.cache"), Cached);
}
