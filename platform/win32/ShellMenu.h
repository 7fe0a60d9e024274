#pragma once
// The shell's own context menu of files and folders (IContextMenu): "Open with", "Send to",
// "Properties" and whatever installed programs add, as Explorer shows it for the same items. The items
// are handed to the menu of the folder that holds them (the desktop's, with their full names, when they
// lie in several), and its commands run with that folder as their working folder.
// Fails: nothing throws; a menu the shell cannot build is empty (Valid false) and runs nothing.
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/win32/ComPtr.h"
#include "platform/win32/ShellItems.h"

class TShellMenu {
 public:
  // The menu of the files and folders at Paths that the shell can name; Extended adds the verbs the
  // shell shows with Shift held.
  TShellMenu(const std::vector<std::string>& Paths, bool Extended);
  ~TShellMenu();
  TShellMenu(const TShellMenu&) = delete;
  TShellMenu& operator=(const TShellMenu&) = delete;

  bool Valid() const { return FHandler && FMenu; }
  HMENU Handle() const { return FMenu; }
  // The items' folder, empty when they lie in several.
  const std::string& Folder() const { return FItems.Folder(); }
  // The command of the item (in any submenu) whose verb is Verb ("properties", "openas"); 0 for none.
  unsigned CommandOf(const std::string& Verb) const;
  std::string VerbOf(unsigned Command) const;

  // Shows the menu at a screen point, owned by Owner, whose messages for the submenus the shell draws
  // go to the menu meanwhile, and runs the command chosen. Returns the command, 0 when none was.
  unsigned Popup(HWND Owner, int ScreenX, int ScreenY);
  // Runs a command of the menu, or a verb the items have whether the menu shows it or not. False when
  // the shell reports a failure.
  bool Invoke(HWND Owner, unsigned Command);
  bool InvokeVerb(HWND Owner, const std::string& Verb);

  // The commands' numbers start here.
  static constexpr unsigned FirstCommand = 1, LastCommand = 0x7FFF;

 private:
  bool Run(HWND Owner, const char* Verb, const wchar_t* WideVerb, POINT* At);
  // The messages of the menu's owner while the menu shows, for the handlers that draw their items.
  static LRESULT CALLBACK OwnerMessages(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                        DWORD_PTR Data);

  TOleScope FOle;
  TShellItems FItems;
  TComPtr<IContextMenu> FHandler;
  TComPtr<IContextMenu2> FHandler2;
  TComPtr<IContextMenu3> FHandler3;
  HMENU FMenu = nullptr;
};
