#include "platform/win32/ShellMenu.h"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace {

// Each command of Menu and of its submenus, depth first.
template <typename TVisit>
bool EachCommand(HMENU Menu, const TVisit& Visit) {
  const int Count = GetMenuItemCount(Menu);
  for (int Index = 0; Index < Count; ++Index) {
    MENUITEMINFOW Info{};
    Info.cbSize = sizeof Info;
    Info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!GetMenuItemInfoW(Menu, static_cast<UINT>(Index), TRUE, &Info)) continue;
    if (Info.hSubMenu) {
      if (EachCommand(Info.hSubMenu, Visit)) return true;
    } else if (!(Info.fType & MFT_SEPARATOR) && Visit(Info.wID)) {
      return true;
    }
  }
  return false;
}

bool KeyDown(int Key) { return (GetKeyState(Key) & 0x8000) != 0; }

}  // namespace

TShellMenu::TShellMenu(const std::vector<std::string>& Paths, bool Extended) : FItems(Paths) {
  if (FItems.Empty()) return;
  TComPtr<IShellFolder> Parent = FItems.ParentFolder();
  if (!Parent) return;
  std::vector<PCUITEMID_CHILD> Children = FItems.Children();
  if (FAILED(Parent->GetUIObjectOf(nullptr, static_cast<UINT>(Children.size()), Children.data(), __uuidof(IContextMenu),
                                   nullptr, FHandler.ReceiveVoid())))
    return;
  FMenu = CreatePopupMenu();
  const UINT Flags = CMF_NORMAL | CMF_EXPLORE | (Extended ? CMF_EXTENDEDVERBS : 0);
  if (!FMenu || FAILED(FHandler->QueryContextMenu(FMenu, 0, FirstCommand, LastCommand, Flags))) {
    FHandler.Reset();
    return;
  }
  FHandler2 = FHandler.As<IContextMenu2>();
  FHandler3 = FHandler.As<IContextMenu3>();
}

TShellMenu::~TShellMenu() {
  // The handlers go before the menu they filled, and both before OLE.
  FHandler3.Reset();
  FHandler2.Reset();
  FHandler.Reset();
  if (FMenu) DestroyMenu(FMenu);
}

std::string TShellMenu::VerbOf(unsigned Command) const {
  if (!Valid() || Command < FirstCommand || Command > LastCommand) return "";
  wchar_t Verb[256] = L"";
  if (FAILED(FHandler->GetCommandString(Command - FirstCommand, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(Verb),
                                        static_cast<UINT>(std::size(Verb)))))
    return "";
  Verb[std::size(Verb) - 1] = L'\0';
  return Narrow(Verb);
}

unsigned TShellMenu::CommandOf(const std::string& Verb) const {
  unsigned Found = 0;
  if (!Valid()) return 0;
  EachCommand(FMenu, [&](UINT Command) {
    if (Command < FirstCommand || Command > LastCommand || _stricmp(VerbOf(Command).c_str(), Verb.c_str()) != 0)
      return false;
    Found = Command;
    return true;
  });
  return Found;
}

LRESULT CALLBACK TShellMenu::OwnerMessages(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                           DWORD_PTR Data) {
  auto* Menu = reinterpret_cast<TShellMenu*>(Data);
  // Items drawn by the owner are the menu's only when they say so: the window draws its own too.
  const bool ForMenu =
      Message == WM_INITMENUPOPUP || Message == WM_MENUCHAR ||
      (Message == WM_DRAWITEM && reinterpret_cast<const DRAWITEMSTRUCT*>(LParam)->CtlType == ODT_MENU) ||
      (Message == WM_MEASUREITEM && reinterpret_cast<const MEASUREITEMSTRUCT*>(LParam)->CtlType == ODT_MENU);
  if (ForMenu) {
    LRESULT Result = 0;
    if (Menu->FHandler3 && SUCCEEDED(Menu->FHandler3->HandleMenuMsg2(Message, WParam, LParam, &Result)))
      return Message == WM_MENUCHAR ? Result : (Message == WM_INITMENUPOPUP ? 0 : TRUE);
    if (Message != WM_MENUCHAR && Menu->FHandler2 && SUCCEEDED(Menu->FHandler2->HandleMenuMsg(Message, WParam, LParam)))
      return Message == WM_INITMENUPOPUP ? 0 : TRUE;
  }
  return DefSubclassProc(Window, Message, WParam, LParam);
}

unsigned TShellMenu::Popup(HWND Owner, int ScreenX, int ScreenY) {
  if (!Valid()) return 0;
  const bool Listening = SetWindowSubclass(Owner, OwnerMessages, reinterpret_cast<UINT_PTR>(this),
                                           reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  const auto Command = static_cast<unsigned>(TrackPopupMenuEx(
      FMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, ScreenX, ScreenY, Owner, nullptr));
  if (Listening) RemoveWindowSubclass(Owner, OwnerMessages, reinterpret_cast<UINT_PTR>(this));
  if (Command == 0) return 0;
  POINT At{ScreenX, ScreenY};
  const UINT_PTR Offset = Command - FirstCommand;
  Run(Owner, reinterpret_cast<const char*>(Offset), reinterpret_cast<const wchar_t*>(Offset), &At);
  return Command;
}

bool TShellMenu::Invoke(HWND Owner, unsigned Command) {
  if (!Valid() || Command < FirstCommand || Command > LastCommand) return false;
  const UINT_PTR Offset = Command - FirstCommand;
  return Run(Owner, reinterpret_cast<const char*>(Offset), reinterpret_cast<const wchar_t*>(Offset), nullptr);
}

bool TShellMenu::InvokeVerb(HWND Owner, const std::string& Verb) {
  if (!Valid()) return false;
  const std::wstring Wide = Widen(Verb);
  return Run(Owner, Verb.c_str(), Wide.c_str(), nullptr);
}

bool TShellMenu::Run(HWND Owner, const char* Verb, const wchar_t* WideVerb, POINT* At) {
  const std::wstring Folder = Widen(FItems.Folder());
  CMINVOKECOMMANDINFOEX Info{};
  Info.cbSize = sizeof Info;
  Info.fMask = CMIC_MASK_UNICODE | (KeyDown(VK_SHIFT) ? CMIC_MASK_SHIFT_DOWN : 0) |
               (KeyDown(VK_CONTROL) ? CMIC_MASK_CONTROL_DOWN : 0) | (At ? CMIC_MASK_PTINVOKE : 0);
  Info.hwnd = Owner;
  Info.lpVerb = Verb;
  Info.lpVerbW = WideVerb;
  Info.lpDirectoryW = Folder.empty() ? nullptr : Folder.c_str();
  Info.nShow = SW_SHOWNORMAL;
  if (At) Info.ptInvoke = *At;
  return SUCCEEDED(FHandler->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&Info)));
}
