#include "app/HelpLinks.h"

namespace {

// A page of the maker's site, opened maximised.
TShellRequest WebPage(const std::string& Path) {
  TShellRequest Request;
  Request.Verb = "OPEN";
  Request.File = std::string("https://") + MakerWebHost + Path;
  Request.Directory = "";
  Request.ShowMode = smMaximized;
  return Request;
}

}  // namespace

std::string HelpLinkCaption(THelpLink Link) {
  switch (Link) {
    case hlWebSite: return std::string(MakerName) + " Web Site";
    case hlSupportForum: return "Support Forum";
    case hlCheckForUpdates: return "Check for Updates";
    case hlOnlineHelp: return "Online Help";
  }
  return "";
}

TShellRequest HelpLinkRequest(THelpLink Link, void* MainWindow) {
  switch (Link) {
    case hlWebSite: return WebPage("/");
    case hlSupportForum: return WebPage("/apps/brellow.exe");
    case hlCheckForUpdates: {
      // The shell's default verb and no working folder.
      TShellRequest Request;
      Request.Owner = MainWindow;
      Request.File = "rundll32.exe";
      Request.Parameters = "shell32.dll,Control_RunDLL updatesoftware.cpl";
      Request.ShowMode = smShow;
      return Request;
    }
    case hlOnlineHelp: return WebPage("/help/qv/Torvane_Search.html");
  }
  return WebPage("/");
}

void OpenHelpLink(TShell& Shell, THelpLink Link, void* MainWindow) { Shell.Execute(HelpLinkRequest(Link, MainWindow)); }
