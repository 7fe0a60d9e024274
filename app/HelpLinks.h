#pragma once
// The four links of the "Help & Support" bar: each hands one request to the shell and returns at once;
// what the shell, the browser or the applet make of it is not looked at.
#include <string>

#include "core/Shell.h"

// The program's maker and the web host of its site.
inline constexpr const char* MakerName = "Torvane Software";
inline constexpr const char* MakerWebHost = "www.torvanesoftware.com";

// The bar's items, in order.
enum THelpLink { hlWebSite = 0, hlSupportForum = 1, hlCheckForUpdates = 2, hlOnlineHelp = 3 };
inline constexpr int HelpLinkCount = 4;

std::string HelpLinkCaption(THelpLink Link);
// The update check's window belongs to MainWindow; the web pages open on their own.
TShellRequest HelpLinkRequest(THelpLink Link, void* MainWindow);
void OpenHelpLink(TShell& Shell, THelpLink Link, void* MainWindow);
