#pragma once
// Files and folders as the shell names them: the item identifier list of each path and the folder that
// holds them all (the desktop when they lie in several folders). The shell's menus and the data a drag
// hands over are built on these.
// Fails: nothing throws; a path the shell cannot name (gone, or too long for it) is left out.
#include <shlobj.h>

#include <string>
#include <vector>

#include "platform/win32/ComPtr.h"

class TShellItems {
 public:
  explicit TShellItems(const std::vector<std::string>& Paths);
  ~TShellItems();
  TShellItems(const TShellItems&) = delete;
  TShellItems& operator=(const TShellItems&) = delete;

  bool Empty() const { return FIds.empty(); }
  // The paths the shell could name, in the order given.
  const std::vector<std::string>& Paths() const { return FPaths; }
  // The folder that holds every item ('C:\Data'); empty when they lie in several.
  const std::string& Folder() const { return FFolder; }

  // The shell folder the items are children of: their common folder, else the desktop (which takes
  // full identifier lists as its children).
  TComPtr<IShellFolder> ParentFolder() const;
  // Null for the desktop.
  PCIDLIST_ABSOLUTE ParentId() const { return FParentId; }
  // The items relative to ParentFolder, in order; they live as long as this object.
  std::vector<PCUITEMID_CHILD> Children() const;

 private:
  std::vector<std::string> FPaths;
  std::vector<PIDLIST_ABSOLUTE> FIds;
  PIDLIST_ABSOLUTE FParentId = nullptr;
  std::string FFolder;
};
