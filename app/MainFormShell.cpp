// The results as the shell sees them: "Open With..." and "Properties" in the window's menu, the shell's
// own menu of the selected rows (Shift with the right button, or Shift+F10), and rows dragged out of the
// grid to any program that takes files. What the shell moves or deletes leaves the grid, as after a
// delete.
#include "app/MainForm.h"
#include "platform/win32/ShellDrag.h"
#include "platform/win32/ShellMenu.h"

void TForm1::TResultsMenu::PopupFor(TWinControl& Control, int ScreenX, int ScreenY) {
  if ((GetKeyState(VK_SHIFT) & 0x8000) && FForm.ShowShellMenu(ScreenX, ScreenY)) return;
  FForm.PopupMenu1.PopupFor(Control, ScreenX, ScreenY);
}

void TForm1::BuildShellCommands() {
  // After the window's own commands, as Explorer puts them last.
  PopupMenu1.AddSeparator("N3");
  PopupMenu1.Add("OpenWith1", "Open With...").OnClick = [this](TObject* Sender) { OpenWith1Click(Sender); };
  PopupMenu1.Add("Properties1", "Properties").OnClick = [this](TObject* Sender) { Properties1Click(Sender); };
  flist.PopupMenu = &FResultsMenu;
  flist.OnDragOut = [this](TObject* Sender) { flistDragOut(Sender); };
}

void TForm1::OpenWith1Click(TObject*) { FCommands.OpenWith(Handle()); }
void TForm1::Properties1Click(TObject*) { FCommands.ShowProperties(Handle()); }

bool TForm1::ShowShellMenu(int ScreenX, int ScreenY) {
  const std::vector<std::string> Paths = FCommands.ShellItemPaths();
  if (Paths.empty()) return false;
  // With Shift held, as Explorer shows it then: the extended verbs too.
  TShellMenu Menu(Paths, true);
  if (!Menu.Valid()) return false;
  Menu.Popup(Handle(), ScreenX, ScreenY);
  FCommands.ForgetVanishedRows();
  return true;
}

void TForm1::flistDragOut(TObject*) {
  DragFilesOut(flist.Handle(), FCommands.ShellItemPaths());
  FCommands.ForgetVanishedRows();
}
