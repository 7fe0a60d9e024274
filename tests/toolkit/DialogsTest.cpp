// clang-format off
#include <windows.h>
#include <dlgs.h>
// clang-format on
#include <gtest/gtest.h>

#include "tests/support/DialogAnswerer.h"
#include "tests/support/TempFolder.h"
#include "toolkit/Dialogs.h"

TEST(DialogsTest, AskYesCancelIsTrueOnlyForYes) {
  {
    TDialogAnswerer User(IDYES);
    EXPECT_TRUE(AskYesCancel(nullptr, "Torvane Search", "Are you sure you want to delete C:\\a.txt?"));
    // The question and exactly the two answers.
    EXPECT_EQ(User.Texts(), "Are you sure you want to delete C:\\a.txt?\n&Yes\nCancel\n");
  }
  TDialogAnswerer User(IDCANCEL);
  EXPECT_FALSE(AskYesCancel(nullptr, "Torvane Search", "Delete?"));
  EXPECT_EQ(User.Answered(), 1);
}

TEST(DialogsTest, SaveDialogGivesTheTypedPathWithTheDefaultExtension) {
  TTempFolder Folder;
  const std::string Typed = Folder.Path("r\xC3\xA9sultats \xE6\x97\xA5");  // outside the ANSI code page
  TDialogAnswerer User(IDOK, [&](HWND Dialog) {
    // The file name field: a combo box in the explorer-style dialog, an edit field in the old one.
    SetDlgItemTextW(Dialog, cmb13, Widen(Typed).c_str());
    SetDlgItemTextW(Dialog, edt1, Widen(Typed).c_str());
  });
  std::string FileName = "results.csv";
  ASSERT_TRUE(PromptForSaveFileName(nullptr, "Export Results", {{"CSV files (*.csv)", "*.csv"}}, "csv", FileName));
  EXPECT_EQ(FileName, Typed + ".csv");
}
