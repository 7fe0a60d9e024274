#pragma once
// Actions: a command with a caption, enabled state, hint, image and visibility, and the handler that
// carries it out, shared by the controls linked to it. A linked control hears of every change before
// the new value is stored (so it can tell whether it still showed the old one) and of the action's end.
#include <memory>
#include <string>
#include <vector>

#include "core/Object.h"

class TImageList;
class TBasicAction;

class TActionLink {
 public:
  virtual ~TActionLink();
  TBasicAction* Action() const { return FAction; }
  // Links to Action (or to none); the link is told of the action's changes until then.
  void SetAction(TBasicAction* Action);

  // Called by the action before it stores a new value.
  virtual void CaptionChanging(const std::string& Value) { (void)Value; }
  virtual void EnabledChanging(bool Value) { (void)Value; }
  virtual void HintChanging(const std::string& Value) { (void)Value; }
  virtual void ImageIndexChanging(int Value) { (void)Value; }
  virtual void VisibleChanging(bool Value) { (void)Value; }
  // The action is being destroyed; the link is already detached from it.
  virtual void ActionDestroying() {}

 private:
  friend class TBasicAction;
  TBasicAction* FAction = nullptr;
};

class TBasicAction : public TObject {
 public:
  TBasicAction() = default;
  ~TBasicAction() override;
  TBasicAction(const TBasicAction&) = delete;
  TBasicAction& operator=(const TBasicAction&) = delete;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The images of the action's list, for controls that show the action's image.
  TImageList* Images = nullptr;
  TNotifyEvent OnExecute;

  // Runs OnExecute with the action as sender; false when it is disabled or has no handler.
  bool Execute();

 private:
  friend class TActionLink;
  std::vector<TActionLink*> FLinks;
  std::string FCaption;
  bool FEnabled = true;
  std::string FHint;
  int FImageIndex = -1;
  bool FVisible = true;
};

// A key with its Shift, Ctrl and Alt state: the virtual key in the low byte, then these bits.
using TShortCut = unsigned;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Del", "Shift+Del", "Ctrl+A", "F5".
std::string ShortCutToText(TShortCut ShortCut);

class TWinControl;

// An action with a keyboard shortcut.
class TAction : public TBasicAction {
 public:
  std::string Name;
  TShortCut ShortCut = 0;
  // When set, the shortcut runs the action only while this control has the focus; elsewhere the key
  // goes to the focused control as usual. Menu items still run the action.
  TWinControl* ShortCutTarget = nullptr;
};

// The actions of one window: their shortcuts work while the focus is inside the window, except for
// keys that the focused edit field uses itself.
class TActionList : public TObject {
 public:
  explicit TActionList(TWinControl& Owner);
  ~TActionList() override;
  TActionList(const TActionList&) = delete;
  TActionList& operator=(const TActionList&) = delete;

  TAction& Add(const std::string& Name, const std::string& Caption, TShortCut ShortCut);
  int Count() const { return static_cast<int>(FActions.size()); }
  TAction& Actions(int Index) { return *FActions.at(static_cast<std::size_t>(Index)); }
  TWinControl& Owner() const { return FOwner; }
  // Executes the enabled action with this shortcut; true when one ran.
  bool IsShortCut(TShortCut ShortCut);
  // Every list alive, oldest first: the message loop looks for shortcuts in them.
  static const std::vector<TActionList*>& All();

 private:
  TWinControl& FOwner;
  std::vector<std::unique_ptr<TAction>> FActions;
};
