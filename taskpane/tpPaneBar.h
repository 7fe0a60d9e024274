#pragma once
// The collapsible task-pane bar: a header with an icon, a bold caption and a round roll button on a
// white-to-pale-blue gradient, and below it a list of link items that underline under the mouse.
// Clicking the header or the roll button rolls the bar up to its header or down again.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "taskpane/tpCore.h"
#include "taskpane/tpFadeThread.h"
#include "toolkit/Actions.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Icon.h"
#include "toolkit/ImageList.h"

class TtpCustomPaneBar;
class TtpPaneBarItem;
class TtpPaneBarItems;

// Ties an item to an action: the item's caption, enabled state, hint, image index and visibility
// follow the action's as long as the item still shows the action's current value.
class TtpPaneBarItemActionLink : public TActionLink {
 public:
  explicit TtpPaneBarItemActionLink(TtpPaneBarItem& Item) : FItem(Item) {}
  void CaptionChanging(const std::string& Value) override;
  void EnabledChanging(bool Value) override;
  void HintChanging(const std::string& Value) override;
  void ImageIndexChanging(int Value) override;
  void VisibleChanging(bool Value) override;
  void ActionDestroying() override;

 private:
  TtpPaneBarItem& FItem;
};

enum TtpPaneBarRollMode { rmFixed, rmShrink };
enum TtpHotZone { hzNone, hzHeader, hzRollButton };

class TtpPaneBarItem : public TObject {
 public:
  explicit TtpPaneBarItem(TtpPaneBarItems& Collection);
  ~TtpPaneBarItem() override;
  TtpPaneBarItem(const TtpPaneBarItem&) = delete;
  TtpPaneBarItem& operator=(const TtpPaneBarItem&) = delete;

  // Position in the collection.
  int Index() const;
  TtpCustomPaneBar& Bar() const;
  TtpPaneBarItems& Collection() const { return FCollection; }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TImageList* ImageList() const { return FImageList; }
  void SetImageList(TImageList* Value);
  const std::string& Name() const { return FName; }
  // Ignored when another item of the bar already has that name.
  void SetName(const std::string& Value);
  int Tag = 0;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Run when the item is clicked; while it is empty, a linked action's handler runs instead.
  TNotifyEvent OnClick;
  // The linked action (not owned), or null. Assigning one gives the item the action's values.
  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* Value);
  // Runs the click handler: the item's OnClick (with the action as sender when there is one), else
  // the action's handler.
  void RunClick();

  // Copies references, texts, flags and the click handler through the setters.
  void Assign(const TtpPaneBarItem& Source);
  // The caption (or "untitled"), " [Name]" when named, "*" when invisible.
  std::string DisplayName() const;
  // A component is going away: references to it are cleared.
  virtual void Notification(const void* Component);

 private:
  friend class TtpPaneBarItems;
  friend class TtpPaneBarItemActionLink;
  void ActionDestroyed();

  std::unique_ptr<TtpPaneBarItemActionLink> FActionLink;
  TtpPaneBarItems& FCollection;
  std::string FCaption;
  bool FEnabled = true;
  std::string FHint;
  int FImageIndex = -1;
  TImageList* FImageList = nullptr;
  std::string FName;
  bool FVisible = true;
};

class TtpPaneBarItems {
 public:
  explicit TtpPaneBarItems(TtpCustomPaneBar& Bar) : FBar(Bar) {}
  ~TtpPaneBarItems();
  TtpPaneBarItems(const TtpPaneBarItems&) = delete;
  TtpPaneBarItems& operator=(const TtpPaneBarItems&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  // The item at Index, or null outside the collection.
  TtpPaneBarItem* Items(int Index) const;
  TtpPaneBarItem* operator[](int Index) const { return Items(Index); }
  TtpPaneBarItem& Add();
  void Delete(int Index);
  void Clear();
  int IndexOf(const TtpPaneBarItem* Item) const;
  // The item with exactly this name, or null.
  TtpPaneBarItem* Find(const std::string& Name) const;
  // Replaces the items with copies of Source's.
  void Assign(const TtpPaneBarItems& Source);
  TtpCustomPaneBar& Bar() const { return FBar; }
  // An item changed: re-sorts the visible items and redraws the bar.
  void Update();

 private:
  TtpCustomPaneBar& FBar;
  std::vector<std::unique_ptr<TtpPaneBarItem>> FItems;
};

// The visible items of a bar, in collection order.
class TtpPaneBarVisibleItems {
 public:
  explicit TtpPaneBarVisibleItems(TtpCustomPaneBar& Bar) : FBar(Bar) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  // The visible item at Index, or null at or past the count.
  TtpPaneBarItem* Items(int Index) const;
  bool Contains(const TtpPaneBarItem* Item) const;
  void Add(TtpPaneBarItem* Item);
  void Remove(const TtpPaneBarItem* Item);
  void Sort();

 private:
  TtpCustomPaneBar& FBar;
  std::vector<TtpPaneBarItem*> FItems;
};

using TtpPaneBarCanChangeEvent = std::function<void(TObject* Sender, TtpPaneBarItem* Item, bool& AllowChange)>;
using TtpPaneBarDrawItemEvent = std::function<void(TObject* Sender, TCanvas& ACanvas, RECT& Rect, TtpDrawState State,
                                                   TtpPaneBarItem* Item, TBitmap* Bitmap)>;
using TtpPaneBarItemEvent = std::function<void(TObject* Sender, TtpPaneBarItem* Item)>;

class TtpCustomPaneBar : public TtpCustomControl {
 public:
  explicit TtpCustomPaneBar(TWinControl* Parent = nullptr);
  ~TtpCustomPaneBar() override;

  // Collapsed changes when a roll ends; setting it starts a roll (see SetCollapsed).
  bool Collapsed() const { return FCollapsed; }
  void SetCollapsed(bool Value);
  TFont& Font() { return FFont; }
  void SetFont(const TFont& Value) { FFont.Assign(Value); }
  TFont& HeaderFont() { return FHeaderFont; }
  void SetHeaderFont(const TFont& Value) { FHeaderFont.Assign(Value); }
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  TColor HotTrackColor() const { return FHotTrackColor; }
  void SetHotTrackColor(TColor Value);
  TIcon& Icon() { return FIcon; }
  void SetIcon(const TIcon& Value);
  TImageList* ImageList() const { return FImageList; }
  void SetImageList(TImageList* Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  TtpPaneBarItems& Items() { return FItems; }
  void SetItems(const TtpPaneBarItems& Value) { FItems.Assign(Value); }
  TtpPaneBarRollMode RollMode() const { return FRollMode; }
  void SetRollMode(TtpPaneBarRollMode Value) { FRollMode = Value; }
  bool ShowLinkCursor() const { return FShowLinkCursor; }
  void SetShowLinkCursor(bool Value) { FShowLinkCursor = Value; }
  bool ShowRollButton() const { return FShowRollButton; }
  void SetShowRollButton(bool Value);
  TColor BackgroundColor() const { return FBackgroundColor; }

  TtpPaneBarVisibleItems& VisibleItems() { return FVisibleItems; }
  bool Rolling() const { return FRolling; }
  // True from a roll request until the roll has ended.
  bool RollRunning() const { return FFadeThread != nullptr; }
  int CurrentItemHeight() const { return FCurrentItemHeight; }
  void SetCurrentItemHeight(int Value);
  TtpHotZone HotZone() const { return FHotZone; }
  int HotItem() const { return FHotItem; }

  // Layout, in client coordinates.
  RECT HeaderRect() const;
  RECT RollButtonRect() const;
  virtual void GetItemRect(int Index, RECT& Rect);
  TtpHotZone HitZone(int X, int Y) const;
  int ItemAt(int Y);
  // Recomputes the height from the visible items and the current item height.
  void AdjustHeight();

  virtual void ItemVisibilityChanged(TtpPaneBarItem* Item);
  // A component is going away: the image list reference and the items' references to it are cleared.
  void Notification(const void* Component);
  void EndUpdate() override;
  bool Destroying() const { return FDestroying; }
  // Fonts, item height and every length of the layout follow the density.
  void ChangeScale(int M, int D) override;

  TtpPaneBarCanChangeEvent OnCanChange;
  TtpPaneBarDrawItemEvent OnDrawItem;
  TtpPaneBarItemEvent OnItemClick;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void DestroyWnd() override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void Paint() override;
  virtual void DrawItem(int Index, TtpDrawState State);
  void Click() override;
  void DoMouseDown() override;
  void DoMouseMove(int X, int Y) override;
  void DoParentFontChanged() override;
  void DoSizeChanged() override;

 private:
  friend class TtpPaneBarItem;
  void FontObjectChanged();
  void RebuildGradient();
  void DrawRollButton(TCanvas& Canvas);
  void InvalidateItem(int Index);
  void ShowCursor(TCursor Shape);
  void StartRoll(bool Collapse);
  void StopRoll();
  void ApplyRollStep(TtpFadeThread* Thread);
  void FinishRoll(TtpFadeThread* Thread);
  void EndRollAtOnce();

  TColor FBackgroundColor = RGBColor(214, 223, 247);
  bool FCollapsed = false;
  TFont FFont;
  bool FFontUpdating = false;
  TBitmap FGradient;
  TColor FGradientStart = clWhite;
  TColor FGradientEnd = RGBColor(198, 215, 247);
  int FGradientWidth = 0;
  TFont FHeaderFont;
  TtpHotZone FHotZone = hzNone;
  bool FHotTrack = false;
  TColor FHotTrackColor = RGBColor(53, 124, 255);
  int FHotItem = -1;
  TIcon FIcon;
  TImageList* FImageList = nullptr;
  int FItemHeight = 20;
  bool FRolling = false;
  TtpPaneBarRollMode FRollMode = rmShrink;
  int FCurrentItemHeight = 20;
  TColor FHeaderLineColor = RGBColor(198, 215, 247);
  bool FShowLinkCursor = true;
  bool FShowRollButton = true;
  bool FDestroying = false;
  TtpPaneBarVisibleItems FVisibleItems;
  TtpPaneBarItems FItems;
  unsigned FRollSerial = 0;  // counts roll starts and stops
  // Declared last, destroyed first: the worker stops before anything it could name goes away.
  std::unique_ptr<TtpFadeThread> FFadeThread;
};

class TtpPaneBar : public TtpCustomPaneBar {
 public:
  using TtpCustomPaneBar::TtpCustomPaneBar;
};
