#include "toolkit/Actions.h"

#include <algorithm>

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
