#include "toolkit/Actions.h"

#include <windows.h>

#include <algorithm>

#include "toolkit/Controls.h"

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TBasicAction* Action) {
  if (Action == FAction) return;
  if (FAction) {
    auto& Links = FAction->FLinks;
    Links.erase(std::remove(Links.begin(), Links.end(), this), Links.end());
  }
  FAction = Action;
  if (FAction) FAction->FLinks.push_back(this);
}

TBasicAction::~TBasicAction() {
  // Links may drop themselves (and others) while hearing of the end: work on a copy.
  const std::vector<TActionLink*> Links = FLinks;
  for (TActionLink* Link : Links) Link->FAction = nullptr;
  FLinks.clear();
  for (TActionLink* Link : Links) Link->ActionDestroying();
}

void TBasicAction::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  for (TActionLink* Link : std::vector<TActionLink*>(FLinks)) Link->CaptionChanging(Value);
  FCaption = Value;
}

void TBasicAction::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  for (TActionLink* Link : std::vector<TActionLink*>(FLinks)) Link->EnabledChanging(Value);
  FEnabled = Value;
}

void TBasicAction::SetHint(const std::string& Value) {
  if (Value == FHint) return;
  for (TActionLink* Link : std::vector<TActionLink*>(FLinks)) Link->HintChanging(Value);
  FHint = Value;
}

void TBasicAction::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  for (TActionLink* Link : std::vector<TActionLink*>(FLinks)) Link->ImageIndexChanging(Value);
  FImageIndex = Value;
}

void TBasicAction::SetVisible(bool Value) {
  if (Value == FVisible) return;
  for (TActionLink* Link : std::vector<TActionLink*>(FLinks)) Link->VisibleChanging(Value);
  FVisible = Value;
}

bool TBasicAction::Execute() {
  if (!FEnabled || !OnExecute) return false;
  OnExecute(this);
  return true;
}

std::string ShortCutToText(TShortCut ShortCut) {
  std::string Text;
  if (ShortCut & scShift) Text += "Shift+";
  if (ShortCut & scCtrl) Text += "Ctrl+";
  if (ShortCut & scAlt) Text += "Alt+";
  const unsigned Key = ShortCut & 0xFF;
  switch (Key) {
    case VK_DELETE: return Text + "Del";
    case VK_INSERT: return Text + "Ins";
    case VK_RETURN: return Text + "Enter";
    case VK_ESCAPE: return Text + "Esc";
    case VK_BACK: return Text + "BkSp";
    default: break;
  }
  if (Key >= VK_F1 && Key <= VK_F24) return Text + "F" + std::to_string(Key - VK_F1 + 1);
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return Text + static_cast<char>(Key);
  return Text + "#" + std::to_string(Key);
}

namespace {
std::vector<TActionList*>& LiveLists() {
  static std::vector<TActionList*> Lists;
  return Lists;
}
}  // namespace

TActionList::TActionList(TWinControl& Owner) : FOwner(Owner) { LiveLists().push_back(this); }

TActionList::~TActionList() {
  auto& Lists = LiveLists();
  Lists.erase(std::remove(Lists.begin(), Lists.end(), this), Lists.end());
}

const std::vector<TActionList*>& TActionList::All() { return LiveLists(); }

TAction& TActionList::Add(const std::string& Name, const std::string& Caption, TShortCut ShortCut) {
  FActions.push_back(std::make_unique<TAction>());
  TAction& Action = *FActions.back();
  Action.Name = Name;
  Action.SetCaption(Caption);
  Action.ShortCut = ShortCut;
  return Action;
}

bool TActionList::IsShortCut(TShortCut ShortCut) {
  for (auto& Action : FActions)
    if (Action->ShortCut == ShortCut && Action->Enabled() &&
        (!Action->ShortCutTarget || Action->ShortCutTarget->Focused()))
      return Action->Execute();
  return false;
}
