#include "toolkit/Menus.h"

#include "platform/win32/WideText.h"
#include "toolkit/HandleGuards.h"

namespace {
using TMenuHandle = TOwnedHandle<HMENU, DestroyMenu>;
}  // namespace

void TMenuItem::Click() {
  if (Action) {
    Action->Execute();
  } else if (OnClick) {
    OnClick(this);
  }
}

TMenuItem& TPopupMenu::Add(const std::string& Name, const std::string& Caption) {
  FItems.push_back(std::make_unique<TMenuItem>());
  FItems.back()->Name = Name;
  FItems.back()->Caption = Caption;
  return *FItems.back();
}

TMenuItem& TPopupMenu::AddAction(const std::string& Name, TAction& Action) {
  TMenuItem& Item = Add(Name, "");
  Item.Action = &Action;
  return Item;
}

TMenuItem& TPopupMenu::AddSeparator(const std::string& Name) { return Add(Name, "-"); }

TMenuItem* TPopupMenu::Find(const std::string& Name) {
  for (auto& Item : FItems)
    if (Item->Name == Name) return Item.get();
  return nullptr;
}

HMENU TPopupMenu::BuildMenu() {
  HMENU Menu = CreatePopupMenu();
  for (std::size_t I = 0; I < FItems.size(); ++I) {
    const TMenuItem& Item = *FItems[I];
    const UINT Id = static_cast<UINT>(I + 1);
    if (Item.IsSeparator()) {
      AppendMenuW(Menu, MF_SEPARATOR, Id, nullptr);
      continue;
    }
    std::string Text = Item.ShownCaption();
    if (Item.ShownShortCut()) Text += "\t" + ShortCutToText(Item.ShownShortCut());
    AppendMenuW(Menu, MF_STRING | (Item.ShownEnabled() ? MF_ENABLED : MF_GRAYED), Id, Widen(Text).c_str());
    if (Item.Default) SetMenuDefaultItem(Menu, Id, FALSE);
  }
  return Menu;
}

void TPopupMenu::PopupFor(TWinControl& Control, int ScreenX, int ScreenY) {
  PopupComponent = &Control;
  Popup(ScreenX, ScreenY);
}

void TPopupMenu::Popup(int ScreenX, int ScreenY) {
  if (OnPopup) OnPopup(this);
  // The menu's messages go to the window it is shown for, else to the active window.
  HWND Owner = PopupComponent && PopupComponent->HandleAllocated() ? PopupComponent->Handle() : GetActiveWindow();
  TMenuHandle Menu(BuildMenu());
  const UINT Chosen = static_cast<UINT>(TrackPopupMenuEx(
      Menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, ScreenX, ScreenY, Owner, nullptr));
  if (Chosen >= 1 && Chosen <= FItems.size()) FItems[Chosen - 1]->Click();
}
