#include "toolkit/Application.h"

#include <windows.h>
#include <commctrl.h>

#include "toolkit/Actions.h"
#include "toolkit/Dpi.h"
#include "toolkit/Forms.h"

TApplication& Application() {
  static TApplication Instance;
  return Instance;
}

void TApplication::Initialize() {
  // Before the first window: the windows lay themselves out for their monitor's density.
  DeclareDpiAwareness();
  INITCOMMONCONTROLSEX Controls = {sizeof(Controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                         ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&Controls);
}

void TApplication::SetTitle(const std::string& Title) {
  FTitle = Title;
  ErrorReport().Caption = Title;
}

void TApplication::Run(TForm& MainForm) {
  SetMainForm(&MainForm);
  MainForm.Show();
  while (!FTerminated && HandleMessage(true)) {
  }
  // The loop may end on the close before it takes the quit request; left queued, that request would
  // close at once any message box shown while the window goes (a save that fails at close).
  MSG Quit;
  PeekMessageW(&Quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void TApplication::Terminate() {
  if (!FTerminated) PostQuitMessage(0);
  FTerminated = true;
}

namespace {

// The control of ours that holds the focus window: the window itself, or the combo box around an
// edit field.
HWND TabItemOf(HWND Focus) {
  for (HWND Window = Focus; Window; Window = GetParent(Window))
    if (TWinControl::FromHandle(Window)) return Window;
  return Focus;
}

// Alt+Char offered to every control of the tree, in creation order, until one takes it.
bool OfferAccelerator(TWinControl& Control, wchar_t Char) {
  if (!Control.Visible() || !Control.Enabled()) return false;
  if (Control.WantsAccelerator(Char)) return true;
  for (TWinControl* Child : Control.Controls())
    if (OfferAccelerator(*Child, Char)) return true;
  return false;
}

}  // namespace

bool TApplication::TabKey(MSG& Message) {
  // Tab and Shift+Tab move between controls unless the focused control wants the key itself.
  if (Message.message != WM_KEYDOWN || Message.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  HWND Focus = GetFocus();
  if (!Focus) return false;
  if (SendMessageW(Focus, WM_GETDLGCODE, Message.wParam, reinterpret_cast<LPARAM>(&Message)) &
      (DLGC_WANTTAB | DLGC_WANTALLKEYS))
    return false;
  HWND Root = GetAncestor(Focus, GA_ROOT);
  const bool Back = GetKeyState(VK_SHIFT) < 0;
  if (HWND Next = GetNextDlgTabItem(Root, TabItemOf(Focus), Back)) {
    ::SetFocus(Next);
    // Edit fields select their text when tabbed into, as dialog boxes do.
    HWND Focused = GetFocus();
    if (Focused && (SendMessageW(Focused, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
      SendMessageW(Focused, EM_SETSEL, 0, -1);
  }
  return true;
}

bool TApplication::EscapeKey(MSG& Message) {
  if (Message.message != WM_KEYDOWN || Message.wParam != VK_ESCAPE) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0) return false;
  HWND Focus = GetFocus();
  if (!Focus) return false;
  // An open drop-down or an in-place editor closes as usual.
  if (SendMessageW(Focus, WM_GETDLGCODE, Message.wParam, reinterpret_cast<LPARAM>(&Message)) &
      (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
    return false;
  if (TWinControl* Control = TWinControl::FromHandle(TabItemOf(Focus)); Control && Control->WantsEscape()) return false;
  auto* Form = dynamic_cast<TForm*>(TWinControl::FromHandle(GetAncestor(Focus, GA_ROOT)));
  return Form && Form->EscapeKey();
}

bool TApplication::AcceleratorKey(MSG& Message) {
  if (Message.message != WM_SYSCHAR || Message.wParam == L' ') return false;
  TWinControl* Root = TWinControl::FromHandle(GetAncestor(Message.hwnd, GA_ROOT));
  // Alt with a key that no control takes would beep; a dialog box stays quiet, and so do we.
  if (Root) OfferAccelerator(*Root, static_cast<wchar_t>(Message.wParam));
  return Root != nullptr;
}

bool TApplication::ShortCutKey(MSG& Message) {
  const std::vector<TActionList*> Lists = TActionList::All();
  if ((Message.message != WM_KEYDOWN && Message.message != WM_SYSKEYDOWN) || Lists.empty()) return false;
  const WORD Key = static_cast<WORD>(Message.wParam);
  if (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return false;
  // An edit field keeps its own editing keys (Del deletes a character there).
  HWND Focus = GetFocus();
  const bool Editing = Focus && (SendMessageW(Focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL);
  TShortCut ShortCut = Key;
  if (GetKeyState(VK_SHIFT) < 0) ShortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) ShortCut |= scCtrl;
  if (GetKeyState(VK_MENU) < 0) ShortCut |= scAlt;
  // Function keys edit nothing: they reach the actions from a field too.
  const bool FunctionKey = Key >= VK_F1 && Key <= VK_F24;
  if (Editing && !FunctionKey && !(ShortCut & (scCtrl | scAlt))) return false;
  HWND Root = GetAncestor(Message.hwnd, GA_ROOT);
  for (TActionList* List : Lists) {
    if (!List->Owner().HandleAllocated() || List->Owner().Handle() != Root) continue;
    if (List->IsShortCut(ShortCut)) return true;
  }
  return false;
}

bool TApplication::IsDialogKey(MSG& Message) {
  bool Used = true;  // a key whose handling failed is used up
  ReportingErrors(
      [&] { Used = TabKey(Message) || EscapeKey(Message) || AcceleratorKey(Message) || ShortCutKey(Message); });
  return Used;
}

void TApplication::SetMainForm(TForm* Form) {
  if (FMainForm) FMainForm->FMainFormOwner = nullptr;
  FMainForm = Form;
  if (FMainForm) FMainForm->FMainFormOwner = this;
}

void TApplication::MainFormClosed(TForm&) { Terminate(); }

void TApplication::MainFormDestroyed(TForm& Form) {
  if (FMainForm == &Form) FMainForm = nullptr;
}

void TApplication::ProcessMessagesOnBudget(unsigned Budget) {
  if (GetTickCount() - FLastPump < Budget) return;
  ProcessMessages();
}

bool TApplication::ProcessMessage(MSG& Message) {
  if (Message.message == WM_QUIT) {
    FTerminated = true;
    return false;
  }
  if (IsDialogKey(Message)) return true;
  TranslateMessage(&Message);
  DispatchMessageW(&Message);
  return true;
}

bool TApplication::HandleMessage(bool Wait) {
  MSG Message;
  if (Wait) {
    const BOOL Got = GetMessageW(&Message, nullptr, 0, 0);
    if (Got <= 0) {
      FTerminated = true;
      return false;
    }
    return ProcessMessage(Message);
  }
  if (!PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) return true;
  return ProcessMessage(Message);
}

void TApplication::ProcessMessages() {
  FLastPump = GetTickCount();
  MSG Message;
  while (PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) {
    if (Message.message == WM_QUIT) {
      // Leave the quit request for the main loop to see.
      FTerminated = true;
      PostQuitMessage(static_cast<int>(Message.wParam));
      return;
    }
    ProcessMessage(Message);
  }
}
