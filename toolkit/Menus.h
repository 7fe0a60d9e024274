#pragma once
// Popup menus: items with captions, shortcut texts, a default item and separators; an item may carry
// an action, whose caption, shortcut, enabled state and handler it then shows and runs.
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Actions.h"
#include "toolkit/Controls.h"

class TMenuItem : public TObject {
 public:
  std::string Name;
  // "-" makes a separator.
  std::string Caption;
  TShortCut ShortCut = 0;
  bool Default = false;
  bool Enabled = true;
  TNotifyEvent OnClick;
  // Not owned; while set, the item shows the action's caption, shortcut and state and runs it.
  TAction* Action = nullptr;

  bool IsSeparator() const { return ShownCaption() == "-"; }
  std::string ShownCaption() const { return Action ? Action->Caption() : Caption; }
  TShortCut ShownShortCut() const { return Action ? Action->ShortCut : ShortCut; }
  bool ShownEnabled() const { return Action ? Action->Enabled() : Enabled; }
  // Runs the item's action, or its OnClick.
  void Click();
};

class TPopupMenu : public TContextMenu {
 public:
  TMenuItem& Add(const std::string& Name, const std::string& Caption);
  TMenuItem& AddAction(const std::string& Name, TAction& Action);
  TMenuItem& AddSeparator(const std::string& Name);
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem& Items(int Index) { return *FItems.at(static_cast<std::size_t>(Index)); }
  // The item with this name, or null.
  TMenuItem* Find(const std::string& Name);

  // Shows the menu at a screen point and runs the chosen item; returns once the menu is closed.
  void Popup(int ScreenX, int ScreenY);
  void PopupFor(TWinControl& Control, int ScreenX, int ScreenY) override;
  // The control the menu was last shown for.
  TWinControl* PopupComponent = nullptr;
  TNotifyEvent OnPopup;
  // The item list as the platform's menu (the caller destroys it); item I has the command I + 1.
  HMENU BuildMenu();

 private:
  std::vector<std::unique_ptr<TMenuItem>> FItems;
};
