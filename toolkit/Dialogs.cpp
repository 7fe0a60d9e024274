#include "toolkit/Dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include "platform/win32/WideText.h"

namespace {

using TTaskDialogIndirect = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// The task dialog comes with version 6 of the common controls, which the program's manifest asks for;
// a process without it still gets its question, as a message box with Yes and No.
TTaskDialogIndirect TaskDialogFunction() {
  const HMODULE Controls = GetModuleHandleW(L"comctl32.dll");
  return Controls ? reinterpret_cast<TTaskDialogIndirect>(
                        reinterpret_cast<void*>(GetProcAddress(Controls, "TaskDialogIndirect")))
                  : nullptr;
}

}  // namespace

bool AskYesCancel(HWND Owner, const std::string& Caption, const std::string& Text) {
  const std::wstring WideCaption = Widen(Caption), WideText = Widen(Text);
  if (const TTaskDialogIndirect TaskDialog = TaskDialogFunction()) {
    TASKDIALOGCONFIG Config{};
    Config.cbSize = sizeof(Config);
    Config.hwndParent = Owner;
    Config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    Config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_CANCEL_BUTTON;
    Config.pszWindowTitle = WideCaption.c_str();
    Config.pszMainIcon = TD_WARNING_ICON;
    Config.pszContent = WideText.c_str();
    Config.nDefaultButton = IDYES;
    int Button = IDCANCEL;
    if (SUCCEEDED(TaskDialog(&Config, &Button, nullptr, nullptr))) return Button == IDYES;
  }
  return MessageBoxW(Owner, WideText.c_str(), WideCaption.c_str(), MB_YESNO | MB_ICONWARNING) == IDYES;
}

bool PromptForSaveFileName(HWND Owner, const std::string& Title, const std::vector<TFileFilter>& Filters,
                           const std::string& DefaultExtension, std::string& FileName) {
  // Each filter is "text\0patterns\0"; the list ends with one more zero (the string's own).
  std::wstring Filter;
  for (const TFileFilter& Entry : Filters) {
    Filter += Widen(Entry.first) + L'\0';
    Filter += Widen(Entry.second) + L'\0';
  }
  const std::wstring WideTitle = Widen(Title), Extension = Widen(DefaultExtension);
  // Room for the longest path the system knows.
  std::wstring Buffer = Widen(FileName);
  Buffer.resize(32768, L'\0');
  OPENFILENAMEW Dialog{};
  Dialog.lStructSize = sizeof(Dialog);
  Dialog.hwndOwner = Owner;
  Dialog.lpstrFilter = Filter.empty() ? nullptr : Filter.c_str();
  Dialog.nFilterIndex = 1;
  Dialog.lpstrFile = Buffer.data();
  Dialog.nMaxFile = static_cast<DWORD>(Buffer.size());
  Dialog.lpstrTitle = WideTitle.empty() ? nullptr : WideTitle.c_str();
  Dialog.lpstrDefExt = Extension.empty() ? nullptr : Extension.c_str();
  Dialog.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
  if (!GetSaveFileNameW(&Dialog)) return false;
  FileName = Narrow(Buffer.c_str());
  return true;
}
