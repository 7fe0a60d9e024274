#pragma once
// The scrolling base of the grid: a scroll-bar object of its own per direction (rows vertically,
// pixels horizontally), window scrolling that moves pixels and repaints only the uncovered strip,
// and middle-button "rolling" with its small marker window.
#include <memory>

#include "toolkit/Controls.h"
#include "toolkit/FlyoutControl.h"
#include "toolkit/Timer.h"

class TScrollView;

// Cursor numbers of the roll states, registered with the screen by the grid.
constexpr TCursor crRoll = 3003, crRollUp = 3004, crRollDown = 3005;

enum TScrollBarKind { sbHorizontal, sbVertical };

class TControlScrollBar {
 public:
  TControlScrollBar(TScrollView* View, TScrollBarKind Kind) : FView(View), FKind(Kind) {}

  TScrollBarKind Kind() const { return FKind; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int Max() const { return FMax; }
  void SetMax(int Value);  // never below 0
  int Min() const { return FMin; }
  void SetMin(int Value);  // never below 0
  int Page() const { return FPage; }
  void SetPage(int Value);
  int Position() const { return FPosition; }
  int PreviousPosition() const { return FPrevPosition; }
  // Clamps, updates the platform bar, tells the view, and moves the window contents.
  void SetPosition(int Value);
  int LineStep() const { return FLineStep; }
  void SetLineStep(int Value) { FLineStep = Value; }
  int PageStep() const { return FPageStep; }
  void SetPageStep(int Value) { FPageStep = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Position changes without moving pixels (the caller repaints).
  bool NoScroll() const { return FNoScroll; }
  void SetNoScroll(bool Value) { FNoScroll = Value; }

  // All at once (Enabled, Max, Min, Page, Position, Visible), the platform bar updated once.
  void SetParams(int Position, int Min, bool Visible, bool Enabled, int Page, int Max);
  void LineUp() { Step(FKind == sbVertical ? SB_LINEUP : SB_LINELEFT); }
  void LineDown() { Step(FKind == sbVertical ? SB_LINEDOWN : SB_LINERIGHT); }
  void PageUp() { Step(FKind == sbVertical ? SB_PAGEUP : SB_PAGELEFT); }
  void PageDown() { Step(FKind == sbVertical ? SB_PAGEDOWN : SB_PAGERIGHT); }
  // A WM_VSCROLL/WM_HSCROLL request code.
  void ScrollMessage(int Code, int ThumbPosition);
  void UpdateBar();
  // Forgets what the platform bar shows (a new window starts blank).
  void ResetPlatformState() { FApplied = TApplied(); }

 private:
  void Step(int Code);
  void InvalidateBar(HWND Window);
  int Bar() const { return FKind == sbVertical ? SB_VERT : SB_HORZ; }

  TScrollView* FView;
  TScrollBarKind FKind;
  bool FEnabled = true;
  int FMax = 100, FMin = 0, FPage = 0, FPosition = 0, FPrevPosition = 0;
  int FLineStep = 1, FPageStep = 1;
  bool FVisible = true;
  bool FBatch = false, FUpdating = false, FNoScroll = false;
  // What the platform bar was last given; unchanged parts are not sent again (each call may
  // repaint the bar or recompute the window frame).
  struct TApplied {
    int Min = -1, Max = -1, Page = -1, Position = -1;
    bool Visible = false, Enabled = false, Valid = false;
  } FApplied;
};

class TCustomScrollView : public TCustomControl {
 public:
  explicit TCustomScrollView(TWinControl* Parent = nullptr) : TCustomControl(Parent) {}
  // Pixels the contents move for a position change; rows are the grid's business.
  virtual int ColumnDistance(int /*From*/, int /*To*/) { return 0; }
  virtual int RowDistance(int /*From*/, int /*To*/) { return 0; }
  // Moves the pixels: horizontally within the horizontal scroll area, vertically within the vertical one.
  virtual void ScrollBy(int DX, int DY);
  const RECT& HorzScrollArea() const { return FHorzScrollArea; }
  const RECT& VertScrollArea() const { return FVertScrollArea; }

 protected:
  RECT FHorzScrollArea{}, FVertScrollArea{};
};

// The marker shown where rolling started: two triangles and a dot in the grey-text colour.
class TRollShadow : public TFlyoutControl {
 public:
  TRollShadow();
  void ShowAt(int ScreenX, int ScreenY);
  void HideMarker() { HideFlyout(); }

 protected:
  void CreateWnd() override;
  void Paint() override;
};

class TScrollView : public TCustomScrollView {
 public:
  explicit TScrollView(TWinControl* Parent = nullptr);
  ~TScrollView() override;

  TControlScrollBar& HorzScrollBar() { return FHorzScrollBar; }
  TControlScrollBar& VertScrollBar() { return FVertScrollBar; }
  virtual void PositionChanged(TScrollBarKind) {}

  // Rolling with the middle button; exposed for tests.
  bool Rolling() const { return FRolling; }
  int RollDirection() const { return FRollDirection; }  // -1 up, 0 none, 1 down
  unsigned RollInterval() const { return FRollTimer.Interval(); }
  void RollTick();
  TRollShadow* RollShadow() const { return FRollShadow.get(); }

 protected:
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void StartRolling(int X, int Y);
  void StopRolling();
  // Scroll requests from the platform bars.
  virtual void VerticalScrollMessage(int Code, int ThumbPosition);
  virtual void HorizontalScrollMessage(int Code, int ThumbPosition);

 private:
  TControlScrollBar FHorzScrollBar{this, sbHorizontal}, FVertScrollBar{this, sbVertical};
  std::unique_ptr<TRollShadow> FRollShadow;
  TTimer FRollTimer;
  bool FRolling = false;
  int FRollStartY = 0, FRollDY = 0, FRollDirection = 0;
};
