#include "platform/win32/ShellItems.h"

#include "platform/win32/WideText.h"

TShellItems::TShellItems(const std::vector<std::string>& Paths) {
  for (const std::string& Path : Paths) {
    PIDLIST_ABSOLUTE Id = nullptr;
    if (FAILED(SHParseDisplayName(Widen(Path).c_str(), nullptr, &Id, 0, nullptr)) || !Id) continue;
    FIds.push_back(Id);
    FPaths.push_back(Path);
  }
  if (FIds.empty()) return;
  // One folder for all of them, or the desktop.
  PIDLIST_ABSOLUTE Parent = ILClone(FIds.front());
  if (!Parent || !ILRemoveLastID(Parent)) {
    ILFree(Parent);
    return;
  }
  for (PIDLIST_ABSOLUTE Id : FIds)
    if (!ILIsParent(Parent, Id, TRUE)) {
      ILFree(Parent);
      return;
    }
  FParentId = Parent;
  wchar_t Folder[MAX_PATH] = L"";
  if (SHGetPathFromIDListW(Parent, Folder)) FFolder = Narrow(Folder);
}

TShellItems::~TShellItems() {
  for (PIDLIST_ABSOLUTE Id : FIds) ILFree(Id);
  ILFree(FParentId);
}

TComPtr<IShellFolder> TShellItems::ParentFolder() const {
  TComPtr<IShellFolder> Desktop, Folder;
  if (FAILED(SHGetDesktopFolder(Desktop.Receive()))) return Folder;
  if (!FParentId || ILIsEmpty(FParentId)) return Desktop;
  Desktop->BindToObject(FParentId, nullptr, __uuidof(IShellFolder), Folder.ReceiveVoid());
  return Folder;
}

std::vector<PCUITEMID_CHILD> TShellItems::Children() const {
  std::vector<PCUITEMID_CHILD> Children;
  for (PIDLIST_ABSOLUTE Id : FIds)
    Children.push_back(FParentId ? ILFindLastID(Id) : reinterpret_cast<PCUITEMID_CHILD>(Id));
  return Children;
}
