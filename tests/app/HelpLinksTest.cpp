#include <gtest/gtest.h>

#include "app/HelpLinks.h"

TEST(HelpLinksTest, EachLinkIsOneExactRequest) {
  int MainWindow = 0;
  TShellRequest Page;
  Page.Verb = "OPEN";
  Page.Directory = "";
  Page.ShowMode = smMaximized;
  const std::string Site = std::string("https://") + MakerWebHost;

  Page.File = Site + "/";
  EXPECT_EQ(HelpLinkRequest(hlWebSite, &MainWindow), Page);
  Page.File = Site + "/apps/brellow.exe";
  EXPECT_EQ(HelpLinkRequest(hlSupportForum, &MainWindow), Page);
  Page.File = Site + "/help/qv/Torvane_Search.html";
  EXPECT_EQ(HelpLinkRequest(hlOnlineHelp, &MainWindow), Page);

  // The update check: the shell's default verb, no working folder, shown normally, owned by the window.
  TShellRequest Update;
  Update.Owner = &MainWindow;
  Update.File = "rundll32.exe";
  Update.Parameters = "shell32.dll,Control_RunDLL updatesoftware.cpl";
  Update.ShowMode = smShow;
  EXPECT_EQ(HelpLinkRequest(hlCheckForUpdates, &MainWindow), Update);  // no verb is not an empty verb

  EXPECT_EQ(HelpLinkCaption(hlWebSite), std::string(MakerName) + " Web Site");
}
