#pragma once
// The shell's folder-browsing dialog as a component: it opens at Path, lets the owner move the dialog
// before it shows, keeps OK enabled only while the selection is an existing folder, and puts the
// chosen folder into Path. A cancelled dialog leaves Path as it was.
// clang-format off
#include <windows.h>
#include <shtypes.h>
// clang-format on

#include <functional>
#include <string>

#include "core/Object.h"

using TBrowseSelChangedEvent = std::function<void(TObject* Sender, const std::string& Path, bool& EnableOk)>;
using TBrowseSetPositionEvent = std::function<void(TObject* Sender, int& Left, int& Top, int Width, int Height)>;

class TBrowseForFolder : public TObject {
 public:
  // Before Execute: the folder to open at (empty: none). After a confirmed run: the chosen folder.
  std::string Path;
  // The dialog's status line; shown by the old dialog style only.
  std::string StatusText;
  // Text above the folder tree (empty: none).
  std::string Title;
  bool NewDialogStyle = false;
  bool EditBox = false;
  TBrowseSelChangedEvent OnSelChanged;
  TBrowseSetPositionEvent OnSetPosition;

  // Shows the dialog modally; true when the user confirmed a folder (now in Path).
  bool Execute();
  // The BIF_ flags Execute passes for the current settings.
  UINT BrowseFlags() const;
  // The dialog while a selection change is being handled; null at all other times.
  HWND DialogWindow() const { return FDialogWindow; }

 protected:
  virtual void DoSelChanged(const std::string& Path, bool& EnableOk) { (void)Path, (void)EnableOk; }
  virtual void DoSetPosition(int& Left, int& Top, int Width, int Height) {
    (void)Left, (void)Top, (void)Width, (void)Height;
  }

 private:
  static int CALLBACK BrowseCallback(HWND Dialog, UINT Message, LPARAM Param, LPARAM Data);
  void DialogCreated(HWND Dialog);
  void SelectionChanged(HWND Dialog, LPCITEMIDLIST Item);
  void ContinuePreselection(HWND Dialog, const std::string& Selected);

  HWND FDialogWindow = nullptr;
  // The preselection while it is still on its way: a dialog that fills its tree in the background
  // (Wine's, on a busy machine) can stop at one of the folder's parents; it is then asked again.
  std::wstring FPreselection;
  bool FPreselecting = false;
  int FPreselectRetries = 0;
};

// The file-system path of a shell item (longer than 260 characters where the shell allows it), or ""
// for items without one.
std::string PathOfItem(LPCITEMIDLIST Item);
