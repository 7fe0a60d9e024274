#include "taskpane/tpPaneBar.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "taskpane/tpCoreUtils.h"
#include "toolkit/Application.h"

namespace {

// Lengths at 96 pixels per inch; the bar scales them to its density where it uses them.
constexpr int HeaderTop = 5, HeaderBottom = 33;         // the header band, 28 pixels high
constexpr int CollapsedExtra = 35, ExpandedExtra = 43;  // bar height beyond the item rows
constexpr int ItemsTop = 39, ItemHitTop = 42, ItemsBottomMargin = 8;
constexpr int ItemLeft = 3, ItemRightMargin = 8, ItemTextIndent = 20;
constexpr int RollButtonSize = 18, RollButtonMinWidth = 115, RollButtonRight = 24, RollButtonTop = 10;
constexpr int CaptionLeft = 22, IconLeft = 2, IconIndent = 16, RollButtonSpace = 25, CaptionRightMargin = 3;
constexpr int RollStep = 3;
constexpr TColor LinkColor = 15159552;  // red 0, green 81, blue 231
constexpr TColor DisabledColor = RGBColor(128, 128, 128);

// The six roll-button pictures, loaded once: COLLAPSE0-2 while expanded, EXPAND0-2 while collapsed;
// at another size than their own, drawn at that size once and kept too.
TBitmap* RollButtonBitmap(bool Collapsed, int Number, int Size) {
  static std::map<std::pair<int, int>, std::unique_ptr<TBitmap>> Bitmaps;
  static std::set<std::pair<int, int>> Tried;
  const int Slot = (Collapsed ? 3 : 0) + Number;
  if (Tried.insert({Slot, Size}).second) {
    auto Bitmap = std::make_unique<TBitmap>();
    if (Size != RollButtonSize) {
      if (TBitmap* Designed = RollButtonBitmap(Collapsed, Number, RollButtonSize))
        ResampleBitmap(*Designed, Size, Size, *Bitmap);
    } else {
      Bitmap->LoadFromResourceName(GetModuleHandleW(nullptr),
                                   std::string(Collapsed ? "EXPAND" : "COLLAPSE") + char('0' + Number));
    }
    if (!Bitmap->Empty()) Bitmaps[{Slot, Size}] = std::move(Bitmap);
  }
  const auto Found = Bitmaps.find({Slot, Size});
  return Found != Bitmaps.end() ? Found->second.get() : nullptr;
}

void SetLinkFont(TFont& Font, const std::string& Name, TFontStyles Style) {
  Font.SetColor(LinkColor);
  Font.SetName(Name);
  Font.SetSize(10);
  Font.SetStyle(Style);
}

}  // namespace

// ---- TtpPaneBarItemActionLink ----

void TtpPaneBarItemActionLink::CaptionChanging(const std::string& Value) {
  if (FItem.Caption() == Action()->Caption()) FItem.SetCaption(Value);
}

void TtpPaneBarItemActionLink::EnabledChanging(bool Value) {
  if (FItem.Enabled() == Action()->Enabled()) FItem.SetEnabled(Value);
}

void TtpPaneBarItemActionLink::HintChanging(const std::string& Value) {
  if (FItem.Hint() == Action()->Hint()) FItem.SetHint(Value);
}

void TtpPaneBarItemActionLink::ImageIndexChanging(int Value) {
  if (FItem.ImageIndex() == Action()->ImageIndex()) FItem.SetImageIndex(Value);
}

void TtpPaneBarItemActionLink::VisibleChanging(bool Value) {
  if (FItem.Visible() == Action()->Visible()) FItem.SetVisible(Value);
}

void TtpPaneBarItemActionLink::ActionDestroying() { FItem.ActionDestroyed(); }

// ---- TtpPaneBarItem ----

TtpPaneBarItem::TtpPaneBarItem(TtpPaneBarItems& Collection) : FCollection(Collection) {}

TtpPaneBarItem::~TtpPaneBarItem() = default;

int TtpPaneBarItem::Index() const { return FCollection.IndexOf(this); }

TtpCustomPaneBar& TtpPaneBarItem::Bar() const { return FCollection.Bar(); }

void TtpPaneBarItem::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Bar().Redraw();
}

void TtpPaneBarItem::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  Bar().Redraw();
}

void TtpPaneBarItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Bar().Redraw();
}

void TtpPaneBarItem::SetImageList(TImageList* Value) {
  if (Value == FImageList) return;
  FImageList = Value;
  Bar().Redraw();
}

void TtpPaneBarItem::SetName(const std::string& Value) {
  if (Value == FName) return;
  if (!Value.empty() && FCollection.Find(Value)) return;
  FName = Value;
}

void TtpPaneBarItem::SetVisible(bool Value) {
  if (Value == FVisible) return;
  FVisible = Value;
  Bar().ItemVisibilityChanged(this);
  Bar().AdjustHeight();
}

void TtpPaneBarItem::SetAction(TBasicAction* Value) {
  if (Value == Action()) return;
  if (!Value) {
    FActionLink.reset();
    Bar().Redraw();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TtpPaneBarItemActionLink>(*this);
  FActionLink->SetAction(Value);
  SetCaption(Value->Caption());
  SetEnabled(Value->Enabled());
  SetHint(Value->Hint());
  SetImageIndex(Value->ImageIndex());
  SetVisible(Value->Visible());
  // The click handler is the action's too; one set on the item afterwards runs instead.
  OnClick = Value->OnExecute;
}

void TtpPaneBarItem::ActionDestroyed() {
  // Called from the link itself, which goes with this; nothing of it is touched afterwards.
  std::unique_ptr<TtpPaneBarItemActionLink> Link = std::move(FActionLink);
  if (!Bar().Destroying()) Bar().Redraw();
}

void TtpPaneBarItem::RunClick() {
  TBasicAction* Linked = Action();
  if (OnClick) {
    OnClick(Linked ? static_cast<TObject*>(Linked) : this);
  } else if (Linked && Linked->OnExecute) {
    Linked->OnExecute(Linked);
  }
}

void TtpPaneBarItem::Assign(const TtpPaneBarItem& Source) {
  if (&Source == this) return;
  SetAction(Source.Action());
  SetImageList(Source.FImageList);
  SetCaption(Source.FCaption);
  SetEnabled(Source.FEnabled);
  SetHint(Source.FHint);
  SetImageIndex(Source.FImageIndex);
  SetName(Source.FName);
  Tag = Source.Tag;
  SetVisible(Source.FVisible);
  OnClick = Source.OnClick;
}

std::string TtpPaneBarItem::DisplayName() const {
  std::string Text = FCaption.empty() ? "untitled" : FCaption;
  if (!FName.empty()) Text += " [" + FName + "]";
  if (!FVisible) Text += "*";
  return Text;
}

void TtpPaneBarItem::Notification(const void* Component) {
  if (!Component) return;
  if (Component == Action()) SetAction(nullptr);
  if (Component == FImageList) FImageList = nullptr;
}

// ---- TtpPaneBarItems ----

TtpPaneBarItems::~TtpPaneBarItems() { Clear(); }

TtpPaneBarItem* TtpPaneBarItems::Items(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)].get();
}

TtpPaneBarItem& TtpPaneBarItems::Add() {
  FItems.push_back(std::make_unique<TtpPaneBarItem>(*this));
  TtpPaneBarItem& Item = *FItems.back();
  FBar.ItemVisibilityChanged(&Item);
  FBar.AdjustHeight();
  Update();
  return Item;
}

void TtpPaneBarItems::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  TtpPaneBarItem* Item = FItems[static_cast<std::size_t>(Index)].get();
  // The item leaves the visible list first, so nothing paints or hit-tests it on the way out.
  Item->FVisible = false;
  FBar.ItemVisibilityChanged(Item);
  Item->FActionLink.reset();
  FItems.erase(FItems.begin() + Index);
  if (!FBar.Destroying()) {
    FBar.AdjustHeight();
    Update();
  }
}

void TtpPaneBarItems::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

int TtpPaneBarItems::IndexOf(const TtpPaneBarItem* Item) const {
  for (std::size_t I = 0; I < FItems.size(); ++I)
    if (FItems[I].get() == Item) return static_cast<int>(I);
  return -1;
}

TtpPaneBarItem* TtpPaneBarItems::Find(const std::string& Name) const {
  for (const auto& Item : FItems)
    if (Item->Name() == Name) return Item.get();
  return nullptr;
}

void TtpPaneBarItems::Assign(const TtpPaneBarItems& Source) {
  if (&Source == this) return;
  Clear();
  for (const auto& Item : Source.FItems) Add().Assign(*Item);
}

void TtpPaneBarItems::Update() {
  if (FBar.Destroying()) return;
  FBar.VisibleItems().Sort();
  FBar.Redraw();
}

// ---- TtpPaneBarVisibleItems ----

TtpPaneBarItem* TtpPaneBarVisibleItems::Items(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)];
}

bool TtpPaneBarVisibleItems::Contains(const TtpPaneBarItem* Item) const {
  return std::find(FItems.begin(), FItems.end(), Item) != FItems.end();
}

void TtpPaneBarVisibleItems::Add(TtpPaneBarItem* Item) {
  if (Contains(Item)) return;
  FItems.push_back(Item);
  if (!FBar.Destroying()) Sort();
}

void TtpPaneBarVisibleItems::Remove(const TtpPaneBarItem* Item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
}

void TtpPaneBarVisibleItems::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const TtpPaneBarItem* A, const TtpPaneBarItem* B) { return A->Index() < B->Index(); });
}

// ---- TtpCustomPaneBar ----

TtpCustomPaneBar::TtpCustomPaneBar(TWinControl* Parent)
    : TtpCustomControl(Parent), FVisibleItems(*this), FItems(*this) {
  SetRepaintTriggers(rtTextChanged);
  SetHeight(ScaleValue(46));
  SetHotTrack(true);
  SetWidth(ScaleValue(153));
  SetLinkFont(FFont, "Tahoma", 0);
  SetLinkFont(FHeaderFont, "Tahoma", fsBold);
  FFont.OnChange = [this] { FontObjectChanged(); };
  FHeaderFont.OnChange = [this] { FontObjectChanged(); };
}

TtpCustomPaneBar::~TtpCustomPaneBar() {
  FDestroying = true;
  // The roll stops first: its worker is woken and waited for, and its late messages find no window.
  FFadeThread.reset();
  FItems.Clear();
}

void TtpCustomPaneBar::CreateParams(TCreateParams& Params) {
  TtpCustomControl::CreateParams(Params);
  // No CS_DBLCLKS: a quick second click is a second click, not a double-click. Every height change
  // of a roll repaints the whole bar, so the rows move with the current item height.
  Params.ClassName = L"Torvane.tpPaneBar";
  Params.ClassStyle = CS_HREDRAW | CS_VREDRAW;
}

void TtpCustomPaneBar::FontObjectChanged() {
  if (!FFontUpdating) SetParentFont(false);
  Redraw();
}

void TtpCustomPaneBar::SetHotTrack(bool Value) {
  if (Value == FHotTrack) return;
  FHotTrack = Value;
  const TtpRepaintTriggers Hover = rtMouseEnter | rtMouseLeave;
  SetRepaintTriggers(Value ? RepaintTriggers() | Hover : RepaintTriggers() & ~Hover);
  Redraw();
}

void TtpCustomPaneBar::SetHotTrackColor(TColor Value) {
  if (Value == FHotTrackColor) return;
  FHotTrackColor = Value;
  Redraw();
}

void TtpCustomPaneBar::SetIcon(const TIcon& Value) {
  FIcon.Assign(Value);
  Redraw();
}

void TtpCustomPaneBar::SetImageList(TImageList* Value) {
  if (Value == FImageList) return;
  FImageList = Value;
  Redraw();
}

void TtpCustomPaneBar::SetItemHeight(int Value) {
  if (Value < 0) Value = 0;
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  if (!FCollapsed) SetCurrentItemHeight(Value);
}

void TtpCustomPaneBar::SetShowRollButton(bool Value) {
  if (Value == FShowRollButton) return;
  FShowRollButton = Value;
  Redraw();
}

void TtpCustomPaneBar::SetCurrentItemHeight(int Value) {
  if (Value == FCurrentItemHeight) return;
  FCurrentItemHeight = Value;
  AdjustHeight();
}

void TtpCustomPaneBar::AdjustHeight() {
  if (Locked() || FDestroying) return;
  const int Count = FVisibleItems.Count();
  const bool Short = Count == 0 || (FCollapsed && !FRolling) || (FRolling && !FCollapsed);
  SetHeight(Count * FCurrentItemHeight + ScaleValue(Short ? CollapsedExtra : ExpandedExtra));
}

void TtpCustomPaneBar::ItemVisibilityChanged(TtpPaneBarItem* Item) {
  if (Item->Visible()) {
    FVisibleItems.Add(Item);
  } else {
    FVisibleItems.Remove(Item);
  }
}

void TtpCustomPaneBar::Notification(const void* Component) {
  if (!Component || FDestroying) return;
  if (Component == FImageList) FImageList = nullptr;
  for (int I = 0; I < FItems.Count(); ++I) FItems[I]->Notification(Component);
}

void TtpCustomPaneBar::EndUpdate() {
  TtpCustomControl::EndUpdate();
  AdjustHeight();
}

// ---- Layout ----

RECT TtpCustomPaneBar::HeaderRect() const { return RECT{0, ScaleValue(HeaderTop), Width(), ScaleValue(HeaderBottom)}; }

RECT TtpCustomPaneBar::RollButtonRect() const {
  const int Left = Width() - ScaleValue(RollButtonRight), Top = ScaleValue(RollButtonTop);
  return RECT{Left, Top, Left + ScaleValue(RollButtonSize), Top + ScaleValue(RollButtonSize)};
}

void TtpCustomPaneBar::GetItemRect(int Index, RECT& Rect) {
  const int Pitch = FRollMode == rmShrink ? FCurrentItemHeight : FItemHeight;
  Rect.left = ScaleValue(ItemLeft);
  Rect.right = Width() - ScaleValue(ItemRightMargin);
  Rect.top = Index * Pitch + ScaleValue(ItemsTop);
  Rect.bottom = Rect.top + FItemHeight;
}

TtpHotZone TtpCustomPaneBar::HitZone(int X, int Y) const {
  const POINT Point = {X, Y};
  const RECT Button = RollButtonRect(), Header = HeaderRect();
  if (PtInRect(&Button, Point)) return hzRollButton;
  if (PtInRect(&Header, Point)) return hzHeader;
  return hzNone;
}

int TtpCustomPaneBar::ItemAt(int Y) {
  const int Count = FVisibleItems.Count(), H = Height(), HitTop = ScaleValue(ItemHitTop);
  if (Count <= 0 || Y < HitTop || Y > H - ScaleValue(ItemsBottomMargin)) return -1;
  // Part-way through a roll the rows can be thinner than a pixel: nothing is hit then.
  const int Pitch = (H - HitTop) / Count;
  if (Pitch <= 0) return -1;
  const int Index = (Y - HitTop) / Pitch;
  return Index < Count ? Index : -1;
}

// ---- Painting ----

void TtpCustomPaneBar::RebuildGradient() {
  BuildGradient(Width(), ScaleValue(HeaderBottom) - ScaleValue(HeaderTop), FGradientStart, FGradientEnd, 32, true,
                FGradient);
}

void TtpCustomPaneBar::Paint() {
  TCanvas& Canvas = this->Canvas();
  const int W = Width(), Top = ScaleValue(HeaderTop), Bottom = ScaleValue(HeaderBottom);
  RECT R = ClientRect();
  const TColor ParentColor = Parent() ? Parent()->Color() : Color();
  // Above the header band the control shows its background (its colour, the parent's by default)
  // behind the icon.
  Canvas.Brush().SetStyle(bsSolid);
  Canvas.Brush().SetColor(Color());
  Canvas.FillRect(RECT{0, 0, W, Top});
  R.top += Top;
  Canvas.Brush().SetColor(FBackgroundColor);
  Canvas.FillRect(R);
  RebuildGradient();
  Canvas.Draw(0, Top, FGradient);
  Canvas.Brush().SetColor(clWhite);
  Canvas.FrameRect(R);
  // Softened top corners: the parent shows through the outer pixels, white rounds the inner ones.
  const POINT Outer[] = {{0, Top}, {0, Top + 1}, {1, Top}, {W - 1, Top}, {W - 2, Top}, {W - 1, Top + 1}};
  for (const POINT& P : Outer) Canvas.SetPixel(P.x, P.y, ParentColor);
  Canvas.SetPixel(1, Top + 1, clWhite);
  Canvas.SetPixel(W - 2, Top + 1, clWhite);
  if (FShowRollButton && W >= ScaleValue(RollButtonMinWidth)) {
    DrawRollButton(Canvas);
    R.right -= ScaleValue(RollButtonSpace);
  }
  Canvas.Pen().SetColor(FHeaderLineColor);
  DrawLine(Canvas, 1, Bottom, W - 1, Bottom);
  R.left += ScaleValue(CaptionLeft);
  if (!FIcon.Empty()) {
    FIcon.Draw(Canvas, ScaleValue(IconLeft), 0);
    R.left += ScaleValue(IconIndent);
  }
  Canvas.Font().Assign(FHeaderFont);
  if (FHotTrack && (DrawState() & dsHighlight) && FHotZone != hzNone) Canvas.Font().SetColor(FHotTrackColor);
  RECT TextBox = R;
  TextBox.bottom = Bottom;
  TextBox.right -= ScaleValue(CaptionRightMargin);
  Canvas.SetTextTransparent(true);
  Canvas.DrawText(Caption(), TextBox, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  Canvas.Brush().SetColor(FBackgroundColor);
  if (FCollapsed && !FRolling) return;
  for (int I = 0; I < FVisibleItems.Count(); ++I)
    DrawItem(I, I == FHotItem && (DrawState() & dsHighlight) ? TtpDrawState(dsHighlight) : TtpDrawState(0));
}

void TtpCustomPaneBar::DrawRollButton(TCanvas& Canvas) {
  int Number = 0;
  if (FHotZone == hzRollButton && (DrawState() & dsHighlight)) Number = (DrawState() & dsClicked) ? 2 : 1;
  // A picture that cannot be loaded leaves the gradient showing.
  const RECT Button = RollButtonRect();
  if (TBitmap* Bitmap = RollButtonBitmap(FCollapsed, Number, Button.right - Button.left))
    Canvas.Draw(Button.left, Button.top, *Bitmap);
}

void TtpCustomPaneBar::DrawItem(int Index, TtpDrawState State) {
  TtpPaneBarItem* Item = FVisibleItems.Items(Index);
  if (!Item) return;
  TCanvas& Canvas = this->Canvas();
  Canvas.Font().Assign(FFont);
  if (!Item->Enabled()) {
    Canvas.Font().SetColor(DisabledColor);
  } else if (State & dsHighlight) {
    Canvas.Font().SetColor(FHotTrackColor);
    Canvas.Font().SetStyle(Canvas.Font().Style() | fsUnderline);
  }
  RECT Rect;
  GetItemRect(Index, Rect);
  TImageList* Images = Item->ImageList();
  if (!Images && Item->Action() && Item->Action()->Images) Images = Item->Action()->Images;
  if (!Images) Images = FImageList;
  const bool HasImage = Images && Item->ImageIndex() >= 0 && Item->ImageIndex() < Images->Count();
  if (OnDrawItem) {
    // The handler always gets a bitmap: empty without an image list, else the list's size holding the
    // image (on the item background, ready to draw opaquely) when the index names one.
    TBitmap Bitmap;
    if (Images) {
      Bitmap.SetSize(Images->Width(), Images->Height());
      Bitmap.Canvas().Brush().SetColor(FBackgroundColor);
      Bitmap.Canvas().FillRect(RECT{0, 0, Images->Width(), Images->Height()});
      if (HasImage) Images->Draw(Bitmap.Canvas(), 0, 0, Item->ImageIndex());
    }
    OnDrawItem(this, Canvas, Rect, State, Item, &Bitmap);
    return;
  }
  // The image is the list's picture as it is; a disabled item shows itself by its grey text alone.
  if (HasImage) Images->Draw(Canvas, Rect.left, Rect.top + (FItemHeight - Images->Height()) / 2, Item->ImageIndex());
  std::string Text = Item->Caption();
  if (Text.empty()) {
    char Buffer[32];
    std::snprintf(Buffer, sizeof(Buffer), "(untitled %d)", Index);
    Text = Buffer;
  }
  Rect.left += ScaleValue(ItemTextIndent);
  Canvas.SetTextTransparent(true);
  Canvas.DrawText(Text, Rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TtpCustomPaneBar::InvalidateItem(int Index) {
  if (!FVisibleItems.Items(Index)) return;
  RECT Rect;
  GetItemRect(Index, Rect);
  InvalidateRect(Rect);
}

// ---- Mouse ----

void TtpCustomPaneBar::DoMouseMove(int X, int Y) {
  const TtpHotZone Zone = HitZone(X, Y);
  if (Zone != FHotZone) {
    FHotZone = Zone;
    InvalidateRect(HeaderRect());
    if (FShowLinkCursor) ShowCursor(Zone != hzNone ? crHandPoint : crDefault);
  }
  const int Hot = ItemAt(Y);
  if (Hot != FHotItem) {
    // Old and new rows are repainted with their background, so no underline is left behind.
    InvalidateItem(FHotItem);
    FHotItem = Hot;
    TtpPaneBarItem* Item = FVisibleItems.Items(Hot);
    if (Item && Item->Enabled()) {
      InvalidateItem(Hot);
      if (FShowLinkCursor) ShowCursor(crHandPoint);
    } else if (FShowLinkCursor) {
      ShowCursor(crDefault);
    }
  }
  TtpCustomControl::DoMouseMove(X, Y);
}

void TtpCustomPaneBar::ShowCursor(TCursor Shape) {
  SetCursor(Shape);
  // The pointer is over the bar already: it changes now, not at the next move.
  if (MouseInside() && Screen().Cursor() == crDefault) ::SetCursor(Screen().CursorHandle(Shape ? Shape : crArrow));
}

void TtpCustomPaneBar::DoMouseDown() {
  TtpCustomControl::DoMouseDown();
  if (FHotZone == hzRollButton) InvalidateRect(RollButtonRect());
}

void TtpCustomPaneBar::Click() {
  if (FShowRollButton && FHotZone != hzNone) SetCollapsed(!FCollapsed);
  TtpPaneBarItem* Item = FVisibleItems.Items(FHotItem);
  if (Item && Item->Enabled()) {
    bool AllowChange = true;
    if (OnCanChange) OnCanChange(this, Item, AllowChange);
    if (!AllowChange) return;
    if (OnItemClick) OnItemClick(this, Item);
    Item->RunClick();
  }
  TtpCustomControl::Click();
}

// ---- Fonts and size ----

void TtpCustomPaneBar::DoParentFontChanged() {
  if (ParentFont()) {
    const std::string Name = TtpCustomControl::Font().Name();
    const TFontStyles Style = TtpCustomControl::Font().Style();
    FFontUpdating = true;
    SetLinkFont(FFont, Name, Style);
    SetLinkFont(FHeaderFont, Name, fsBold);
    // The link size is a size at 96 pixels per inch.
    for (TFont* Font : {&FFont, &FHeaderFont})
      Font->SetHeight(ScaleFontHeight(Font->Height(), CurrentPPI(), DesignPPI));
    FFontUpdating = false;
  }
  TtpCustomControl::DoParentFontChanged();
}

void TtpCustomPaneBar::ChangeScale(int M, int D) {
  TtpCustomControl::ChangeScale(M, D);
  // The bar's own fonts are scaled as the control's font is; the parent's font is not theirs.
  FFontUpdating = true;
  for (TFont* Font : {&FFont, &FHeaderFont}) Font->SetHeight(ScaleFontHeight(Font->Height(), M, D));
  FFontUpdating = false;
  FItemHeight = ScaleLength(FItemHeight, M, D);
  FCurrentItemHeight = std::min(ScaleLength(FCurrentItemHeight, M, D), FItemHeight);
  FGradientWidth = 0;
  AdjustHeight();
  Redraw();
}

void TtpCustomPaneBar::DoSizeChanged() {
  if (Width() != FGradientWidth) {
    FGradientWidth = Width();
    RebuildGradient();
  }
  AdjustHeight();
  TtpCustomControl::DoSizeChanged();
}

// ---- Rolling ----

void TtpCustomPaneBar::SetCollapsed(bool Value) {
  if (FFadeThread) {
    // One roll per bar: a request for the state already being rolled to changes nothing; the opposite
    // request turns the bar round from where it is.
    if (Value == FFadeThread->Collapse()) return;
    StopRoll();
  } else if (Value == FCollapsed) {
    return;
  }
  StartRoll(Value);
}

void TtpCustomPaneBar::StartRoll(bool Collapse) {
  ++FRollSerial;
  if (!HandleAllocated()) {
    // Without a window there is nothing to animate: the bar takes its end state at once.
    FCollapsed = Collapse;
    SetCurrentItemHeight(Collapse ? 0 : FItemHeight);
    AdjustHeight();
    return;
  }
  FFadeThread = std::make_unique<TtpFadeThread>(FHandle, Collapse, FRollSerial);
}

void TtpCustomPaneBar::StopRoll() {
  ++FRollSerial;
  FFadeThread.reset();
  FRolling = false;
}

void TtpCustomPaneBar::ApplyRollStep(TtpFadeThread* Thread) {
  // Handlers run inside the step (a resize event, say) and may stop this roll or start another;
  // the serial tells whether the step still belongs to the roll in progress afterwards.
  const unsigned Serial = FRollSerial;
  FRolling = true;
  const int Target = Thread->Collapse() ? 0 : FItemHeight;
  const int Step = ScaleValue(RollStep);
  const int Next = std::clamp(FCurrentItemHeight + (Thread->Collapse() ? -Step : Step), 0, FItemHeight);
  try {
    SetCurrentItemHeight(Next);
  } catch (...) {
    // A step that fails ends the roll where it is; Collapsed keeps its value.
    if (Serial == FRollSerial) StopRoll();
    throw;
  }
  if (Serial == FRollSerial) Thread->StepApplied(Next == Target);
}

void TtpCustomPaneBar::FinishRoll(TtpFadeThread* Thread) {
  const bool Collapse = Thread->Collapse();
  FFadeThread.reset();
  FRolling = false;
  FCollapsed = Collapse;
  AdjustHeight();
  if (FShowRollButton) Redraw();
}

void TtpCustomPaneBar::EndRollAtOnce() {
  // The window goes (the bar may stay): a running roll cannot post any more steps, so it jumps to its end.
  if (!FFadeThread) return;
  const bool Collapse = FFadeThread->Collapse();
  StopRoll();
  FCollapsed = Collapse;
  FCurrentItemHeight = Collapse ? 0 : FItemHeight;
}

void TtpCustomPaneBar::DestroyWnd() {
  EndRollAtOnce();
  TtpCustomControl::DestroyWnd();
}

LRESULT TtpCustomPaneBar::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == TtpFadeThread::StepMessage() || Message == TtpFadeThread::EndMessage()) {
    auto* Thread = reinterpret_cast<TtpFadeThread*>(LParam);
    // A message from a roll that was stopped meanwhile is stale, even when the roll now running
    // happens to live at the address the stopped one had.
    if (!Thread || Thread != FFadeThread.get() || WParam != FFadeThread->Serial()) return 0;
    if (Message == TtpFadeThread::StepMessage()) {
      ApplyRollStep(Thread);
    } else {
      FinishRoll(Thread);
    }
    return 0;
  }
  // A window destroyed by the system rather than through DestroyHandle ends its roll just the same.
  if (Message == WM_DESTROY) EndRollAtOnce();
  return TtpCustomControl::WndProc(Message, WParam, LParam);
}
