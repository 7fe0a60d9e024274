// Closing the window during a search. On its own: it ends the application's message loop.
#include "app/Histories.h"
#include "tests/app/MainFormTest.h"

TEST_F(MainFormTest, ClosingDuringASearchEndsTheRunThenTheProgram) {
  for (int I = 0; I < 400; ++I) Tree.WriteFile("d" + std::to_string(I % 20) + "/f" + std::to_string(I) + ".y", "");
  FileSystem = &SlowDisk;
  TForm1& Form = Start({Tree.Path(), "*.y"});
  bool WindowDuringClose = false;
  TWhenReady Close([&] { return Form.Button1.Tag == 1 && Form.flist.Model().RowCount() > 20; },
                   [&] {
                     Form.Close();
                     WindowDuringClose = true;
                   });
  Application().Run(Form);  // the start timer searches; the close request ends it all
  EXPECT_TRUE(WindowDuringClose);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_TRUE(Form.HandleAllocated());  // the window outlived the run on whose stack the close arrived
  EXPECT_LT(Form.flist.Model().RowCount(), 400);
  EXPECT_EQ(Form.Button1.Caption(), "&Search");
  EXPECT_EQ(Settings.ReadFile(NameHistoryFile), "*.y\r\n");
  EXPECT_EQ(Settings.ReadFile(FolderHistoryFile), Tree.Path() + "\r\n");
  this->Form.reset();  // FormDestroy: the cache of the cancelled walk is written
  EXPECT_NE(Settings.ReadFile("search.cache").find(".y\r\n"), std::string::npos);
}
