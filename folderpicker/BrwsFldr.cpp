#include "folderpicker/BrwsFldr.h"

// clang-format off
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
// clang-format on

#include <vector>

#include "core/Exceptions.h"
#include "core/Text.h"
#include "platform/win32/WideText.h"
#include "toolkit/Application.h"
#include "toolkit/Forms.h"

namespace {

// Item identifier lists from the shell are freed with the shell's allocator.
struct TItemList {
  LPITEMIDLIST Items = nullptr;
  ~TItemList() {
    if (Items) CoTaskMemFree(Items);
  }
};

// OLE for the new dialog style, for exactly as long as the dialog runs.
class TOleScope {
 public:
  explicit TOleScope(bool Needed) : FInitialized(Needed && SUCCEEDED(OleInitialize(nullptr))) {}
  ~TOleScope() {
    if (FInitialized) OleUninitialize();
  }
  TOleScope(const TOleScope&) = delete;
  TOleScope& operator=(const TOleScope&) = delete;

 private:
  bool FInitialized;
};

bool IsExistingFolder(const std::string& Path) {
  if (Path.empty()) return false;
  const DWORD Attributes = GetFileAttributesW(LongPathW(Path).c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HWND ApplicationWindow() {
  TForm* Main = Application().MainForm();
  return Main && Main->HandleAllocated() ? Main->Handle() : nullptr;
}

}  // namespace

std::string PathOfItem(LPCITEMIDLIST Item) {
  if (!Item) return "";
  std::vector<wchar_t> Buffer(32768, L'\0');
  if (SHGetPathFromIDListEx(Item, Buffer.data(), static_cast<DWORD>(Buffer.size()), GPFIDL_DEFAULT))
    return Narrow(Buffer.data());
  // Older shells know only the classic length.
  wchar_t Classic[MAX_PATH] = L"";
  if (SHGetPathFromIDListW(Item, Classic)) return Narrow(Classic);
  return "";
}

UINT TBrowseForFolder::BrowseFlags() const {
  UINT Flags = 0;
  if (!StatusText.empty() && !NewDialogStyle) Flags |= BIF_STATUSTEXT;
  if (EditBox) Flags |= BIF_EDITBOX;
  if (NewDialogStyle) Flags |= BIF_NEWDIALOGSTYLE;
  return Flags;
}

bool TBrowseForFolder::Execute() {
  const HWND Owner = ApplicationWindow();
  TItemList Root;
  SHGetSpecialFolderLocation(Owner, CSIDL_DESKTOP, &Root.Items);
  const std::wstring WideTitle = Widen(Title);
  BROWSEINFOW Info = {};
  Info.hwndOwner = Owner;
  Info.pidlRoot = Root.Items;
  Info.pszDisplayName = nullptr;
  Info.lpszTitle = Title.empty() ? nullptr : WideTitle.c_str();
  Info.ulFlags = BrowseFlags();
  Info.lpfn = &TBrowseForFolder::BrowseCallback;
  Info.lParam = reinterpret_cast<LPARAM>(this);
  Info.iImage = 0;
  TItemList Chosen;
  {
    TOleScope Ole(NewDialogStyle);
    FDialogWindow = nullptr;
    Chosen.Items = SHBrowseForFolderW(&Info);
  }
  if (!Chosen.Items) return false;
  const std::string ChosenPath = PathOfItem(Chosen.Items);
  Path = ChosenPath;
  return true;
}

int CALLBACK TBrowseForFolder::BrowseCallback(HWND Dialog, UINT Message, LPARAM Param, LPARAM Data) {
  auto* Self = reinterpret_cast<TBrowseForFolder*>(Data);
  if (!Self) return 0;
  // Nothing may unwind through the shell's own frames: failures go to the general error report.
  try {
    if (Message == BFFM_INITIALIZED) Self->DialogCreated(Dialog);
    if (Message == BFFM_SELCHANGED) Self->SelectionChanged(Dialog, reinterpret_cast<LPCITEMIDLIST>(Param));
  } catch (const std::exception& Error) {
    Application().HandleException(Error);
  } catch (...) {
    Application().HandleException(Exception("The folder dialog's handler failed"));
  }
  return 0;
}

void TBrowseForFolder::DialogCreated(HWND Dialog) {
  if (!StatusText.empty()) {
    const std::wstring Text = Widen(StatusText);
    SendMessageW(Dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(Text.c_str()));
  }
  FPreselection = Widen(Path);
  FPreselecting = !Path.empty();
  FPreselectRetries = 0;
  if (FPreselecting) {
    SendMessageW(Dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(FPreselection.c_str()));
  }
  RECT Rect = {};
  GetWindowRect(Dialog, &Rect);
  int Left = Rect.left, Top = Rect.top;
  const int Width = Rect.right - Rect.left, Height = Rect.bottom - Rect.top;
  if (OnSetPosition) OnSetPosition(this, Left, Top, Width, Height);
  DoSetPosition(Left, Top, Width, Height);
  if (Left != Rect.left || Top != Rect.top) MoveWindow(Dialog, Left, Top, Width, Height, FALSE);
}

void TBrowseForFolder::ContinuePreselection(HWND Dialog, const std::string& Selected) {
  if (!FPreselecting) return;
  const std::string Wanted = Narrow(FPreselection);
  const auto Folded = [](std::string Text) {
    while (Text.size() > 1 && (Text.back() == '\\' || Text.back() == '/')) Text.pop_back();
    return AsciiLowerCase(Text);
  };
  const std::string Target = Folded(Wanted), Reached = Folded(Selected);
  const bool OnTheWay = !Reached.empty() && Reached.size() < Target.size() &&
                        Target.compare(0, Reached.size(), Reached) == 0 &&
                        (Target[Reached.size()] == '\\' || Reached.back() == '\\');
  if (!OnTheWay || FPreselectRetries >= 5) {
    // Reached, or the user has gone elsewhere. The text stays: a request already posted still reads it.
    FPreselecting = false;
    return;
  }
  ++FPreselectRetries;
  PostMessageW(Dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(FPreselection.c_str()));
}

void TBrowseForFolder::SelectionChanged(HWND Dialog, LPCITEMIDLIST Item) {
  struct TClear {
    HWND& Window;
    ~TClear() { Window = nullptr; }
  } Clear{FDialogWindow};
  FDialogWindow = Dialog;
  const std::string Selected = PathOfItem(Item);
  ContinuePreselection(Dialog, Selected);
  bool EnableOk = IsExistingFolder(Selected);
  if (OnSelChanged) OnSelChanged(this, Selected, EnableOk);
  DoSelChanged(Selected, EnableOk);
  SendMessageW(Dialog, BFFM_ENABLEOK, 0, EnableOk ? 1 : 0);
  // Some shells check the selection again after this notice and enable OK by their own rules; the
  // posted copy arrives after that, so the answer given here is the one that stays.
  PostMessageW(Dialog, BFFM_ENABLEOK, 0, EnableOk ? 1 : 0);
}
