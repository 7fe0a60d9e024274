#include "gridview/win32/control/CustomGridView.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "gridview/win32/base/Themes.h"
#include "gridview/win32/editors/EditorClasses.h"
#include "toolkit/Application.h"

void RegisterGridCursors() {
  static bool Done = false;
  if (Done) return;
  Done = true;
  const std::pair<TCursor, const char*> Cursors[] = {
      {crHorzSplit, "HORZSPLIT"}, {crColumnNoDrag, "COLUMNNODRAG"}, {crRoll, "ROLL"},
      {crRollUp, "ROLLUP"},       {crRollDown, "ROLLDOWN"},         {crIndicatorSelect, "INDICATORSELECT"}};
  for (const auto& [Number, Name] : Cursors) Screen().RegisterCursor(Number, Name);
}

TCustomGridViewControl::TCustomGridViewControl(TWinControl* Parent) : TScrollView(Parent) {
  FModel.SetObserver(this);
  FModel.SetPixelsPerInch(CurrentPPI());  // a parent at another density passes its own on
  RegisterGridDisplayClasses();
  RegisterGridEditorClasses();
  RegisterGridCursors();
  FStyles[hsAuto] = std::make_unique<TDefaultStyleDisplay>(this);
  FStyles[hsFlatBorders] = std::make_unique<TFlatStyleDisplay>(this);
  FStyles[hsOldStyle] = std::make_unique<TOldStyleDisplay>(this);
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 250, 150);
  VertScrollBar().SetMax(0);
  HorzScrollBar().SetMax(0);
  HorzScrollBar().SetVisible(false);
}

TCustomGridViewControl::~TCustomGridViewControl() {
  // The window goes before the columns and displays it paints with.
  ForgetGridAccessible(*this);
  DestroyHandle();
  FModel.SetObserver(nullptr);
}

void TCustomGridViewControl::CreateParams(TCreateParams& Params) {
  TScrollView::CreateParams(Params);
  Params.ClassName = L"Torvane.GridView";
  Params.ClassStyle = CS_DBLCLKS;  // no redraw of the whole window on resizing
  Params.Style |= WS_HSCROLL | WS_VSCROLL;
  // The grid is a tab stop of its own, not a container whose children Tab would look into (it has
  // none but an open editor, so Tab would pass it by).
  Params.ExStyle &= ~DWORD(WS_EX_CONTROLPARENT);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGridViewControl::CreateWnd() {
  VertScrollBar().ResetPlatformState();
  HorzScrollBar().ResetPlatformState();
  VertScrollBar().SetLineStep(1);
  VertScrollBar().SetPageStep(10);
  HorzScrollBar().SetLineStep(5);
  HorzScrollBar().SetPageStep(10);
  FLastClientWidth = ClientWidth();
  FLastClientHeight = ClientHeight();
  FModel.Columns().AutoSize(nullptr, false);
  UpdateVerticalScrollBar();
  UpdateHorizontalScrollBar();
}

LRESULT TCustomGridViewControl::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (EditorFocusMessage(Message)) return 0;
  switch (Message) {
    case WM_NCPAINT: {
      const LRESULT Result = TScrollView::WndProc(Message, WParam, LParam);
      PaintThemedBorder();
      return Result;
    }
    case WM_THEMECHANGED:
      ThemeServices().Reset();
      InvalidateGrid();
      break;
    case WM_MOUSELEAVE: SetHotHeader(nullptr); break;
    case WM_KILLFOCUS: {
      FFocusTarget = reinterpret_cast<HWND>(WParam);
      const LRESULT Result = TScrollView::WndProc(Message, WParam, LParam);
      FFocusTarget = nullptr;
      return Result;
    }
    case WM_CANCELMODE: CancelMouseInteraction(); break;
    case WM_GETOBJECT:
      if (const LRESULT Object = GridAccessibleObject(*this, WParam, LParam)) return Object;
      break;
    case WM_LBUTTONDBLCLK: FPointer.DoubleClickAt(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)); break;
    case WM_CAPTURECHANGED:
      // Losing the mouse to anything but the drag box (the application was left, a menu opened)
      // ends a press, resize or drag in progress.
      if ((!FDragBox.HandleAllocated() || reinterpret_cast<HWND>(LParam) != FDragBox.Handle()) &&
          (FPointer.Pressed() || FPointer.PressedHeader()))
        CancelMouseInteraction();
      break;
    case WM_SIZE: {
      const LRESULT Result = TScrollView::WndProc(Message, WParam, LParam);
      ClientSizeChanged();
      return Result;
    }
    default: break;
  }
  return TScrollView::WndProc(Message, WParam, LParam);
}

// Properties.

void TCustomGridViewControl::SetGridLinesStyle(TGridLinesStyle Value) {
  FGeometry.SetLinesStyle(Value);
  InvalidateGrid();
}

void TCustomGridViewControl::SetGridLinesColor(TColor Value) {
  FGridLinesColor = Value;
  InvalidateGrid();
}

void TCustomGridViewControl::SetHeaderSize(int Value) {
  if (!FGeometry.SetHeaderSize(Value)) return;
  InvalidateGrid();
  RepositionEditor();
  UpdateVerticalScrollBar();  // the data area changed height
}

void TCustomGridViewControl::SetHeaderStyle(THeaderStyle Value) {
  if (Value == FHeaderStyle) return;
  FHeaderStyle = Value;
  InvalidateGrid();
  RedrawBorder();
}

void TCustomGridViewControl::SetHideScrollBar(bool Value) {
  FHideScrollBar = Value;
  InvalidateGrid();
  UpdateVerticalScrollBar();
}

void TCustomGridViewControl::SetHighlightedTextColor(TColor Value) {
  FHighlightedTextColor = Value;
  InvalidateSelection();
}

void TCustomGridViewControl::SetInputSize(int Value) {
  if (!FGeometry.SetInputSize(Value)) return;
  InvalidateGrid();
  UpdateVerticalScrollBar();
}

void TCustomGridViewControl::SetSlideSize(int Value) {
  if (!FGeometry.SetSlideSize(Value)) return;
  InvalidateGrid();
  UpdateVerticalScrollBar();
}

void TCustomGridViewControl::SetEnableVisualStyles(bool Value) {
  FEnableVisualStyles = Value;
  InvalidateGrid();
  RedrawBorder();
}

void TCustomGridViewControl::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) {
    DestroyHandle();
    HandleNeeded();
  }
}

void TCustomGridViewControl::SetCaption(const std::u16string& Value) {
  FCaption = Value;
  if (!HandleAllocated()) return;
  // The band is as high as the text in the grid's font, measured on the window's own DC.
  int TextHeight = 0;
  {
    TDCGuard DC(FHandle);
    TCanvas Measure(DC.Get());
    AssignGridFont(Measure.Font(), GridFont());
    TextHeight = Measure.TextHeight(std::u16string_view(FCaption.empty() ? u"Xy" : FCaption));
  }
  const int Top = FGeometry.DataTop() + FModel.Metrics().CaptionGap();
  InvalidateClient(RECT{0, Top, ClientWidth(), Top + TextHeight});
}

void TCustomGridViewControl::SetOptions(TGridOptions Value) {
  FModel.SetOptions(Value);
  UpdateVerticalScrollBar();
}

void TCustomGridViewControl::SetAppearanceOptions(TAppearanceOptions Value) {
  FModel.SetAppearanceOptions(Value);
  RedrawBorder();
}

void TCustomGridViewControl::SetRowSize(int Value) {
  FModel.SetRowSize(std::min(Value, TGridGeometry::MaxExtent));
  if (Value > 0) UpdateVerticalScrollBar();
}

void TCustomGridViewControl::SetGridStyle(TGridStyle Value) {
  FModel.SetGridStyle(Value);
  UpdateHorizontalScrollBar();
}

void TCustomGridViewControl::SetGridFont(const TGridFont& Value) {
  FModel.SetGridFont(Value);
  AssignGridFont(Font(), Value);
}

void TCustomGridViewControl::FontChanged() {
  TScrollView::FontChanged();
  // The control's font (set on it or taken from the parent) is the one columns with ParentFont use.
  TGridFont Value;
  Value.Name = Font().Name();
  Value.Size = Font().Size();
  Value.Style = Font().Style();
  Value.Color = Font().Color();
  if (Value != GridFont()) FModel.SetGridFont(Value);
}

void TCustomGridViewControl::ChangeScale(int M, int D) {
  TScrollView::ChangeScale(M, D);
  FModel.SetPixelsPerInch(CurrentPPI());
}

// Scrolling.

int TCustomGridViewControl::TopRow() const {
  return const_cast<TCustomGridViewControl*>(this)->VertScrollBar().Position();
}

int TCustomGridViewControl::HorzOffset() const {
  return const_cast<TCustomGridViewControl*>(this)->HorzScrollBar().Position();
}

int TCustomGridViewControl::ViewportWidth() const { return const_cast<TCustomGridViewControl*>(this)->ClientWidth(); }

int TCustomGridViewControl::ViewportHeight() const { return const_cast<TCustomGridViewControl*>(this)->ClientHeight(); }

// Scroll bars.

void TCustomGridViewControl::UpdateVerticalScrollBar() {
  // While the update lock is held the range waits for EndUpdate (a search adds rows one by one).
  if (!HandleAllocated() || FModel.IsUpdating()) return;
  TControlScrollBar& Bar = VertScrollBar();
  if (GridStyle() == gsSlides) {
    const int Max = std::max(0, FModel.RowCount() - FGeometry.SlidesInView());
    Bar.SetParams(Bar.Position(), 0, true, Max != 0, 1, Max);
    return;
  }
  const int Max = FGeometry.MaxTopRow();
  // Moving the position to fit a shorter range must not move pixels of rows that are gone.
  Bar.SetNoScroll(true);
  const int Old = Bar.Position();
  Bar.SetParams(Bar.Position(), 0, !(FHideScrollBar && Max < 1), Max > 0, 1, Max);
  Bar.SetNoScroll(false);
  if (Bar.Position() != Old) InvalidateGrid();
}

void TCustomGridViewControl::UpdateHorizontalScrollBar() {
  if (!HandleAllocated()) return;
  TControlScrollBar& Bar = HorzScrollBar();
  if (GridStyle() == gsSlides) {
    Bar.SetParams(0, 0, false, false, 1, 0);
    return;
  }
  const int Max = FGeometry.HorizontalOverflow();
  const int Old = Bar.Position();
  Bar.SetNoScroll(true);
  Bar.SetParams(Bar.Position(), 0, Max > 0, true, 1, Max);
  Bar.SetNoScroll(false);
  Bar.SetPageStep(static_cast<int>(std::lround(ClientWidth() * 0.05)));
  if (Bar.Position() != Old) InvalidateGrid();
}

void TCustomGridViewControl::VerticalScrollMessage(int Code, int ThumbPosition) {
  HideCellEditor();
  UpdateVerticalScrollBar();
  TScrollView::VerticalScrollMessage(Code, ThumbPosition);
}

void TCustomGridViewControl::HorizontalScrollMessage(int Code, int ThumbPosition) {
  // The dotted focus frame is drawn by inversion: it goes before the pixels move and comes back after.
  HideCellEditor();
  TScrollView::HorizontalScrollMessage(Code, ThumbPosition);
  InvalidateSelection();
}

void TCustomGridViewControl::UpdateScrollAreas() {
  if (GridStyle() == gsSlides) {
    FHorzScrollArea = FVertScrollArea = ClientRect();
    return;
  }
  FHorzScrollArea = RECT{FGeometry.DataLeft(), 0, ClientWidth(), ClientHeight()};
  FVertScrollArea = RECT{0, FGeometry.DataTop(), FGeometry.DataRight(), FGeometry.DataBottom()};
}

void TCustomGridViewControl::ScrollBy(int DX, int DY) {
  // The areas as the layout is now, also before the first paint.
  UpdateScrollAreas();
  TScrollView::ScrollBy(DX, DY);
}

void TCustomGridViewControl::ScrollRowsFrom(int ARow, int DY) {
  if (!HandleAllocated()) return;
  if (ARow < TopRow()) {
    InvalidateArea(gaData);
    InvalidateArea(gaIndicator);
    return;
  }
  const int Top = FGeometry.RowTop(ARow);
  if (Top >= FGeometry.DataBottom()) return;
  const RECT Area{0, Top, FGeometry.DataRight(), FGeometry.DataBottom()};
  ScrollWindowEx(FHandle, 0, DY, &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
}

void TCustomGridViewControl::ScrollIntoView(int ARow) {
  if (!HandleAllocated() || ARow < 0 || ARow >= FModel.RowCount()) return;
  if (ARow < TopRow()) {
    SetTopRow(ARow);
    return;
  }
  const int Top = FGeometry.TopRowShowing(ARow);
  if (Top > TopRow()) SetTopRow(Top);
}

// Events of the model's changes.

void TCustomGridViewControl::MeasureRowHeight(int ARow, int& Height) {
  if (OnMeasuringRowHeight) OnMeasuringRowHeight(EventSender(), ARow, Height);
}

void TCustomGridViewControl::CellChanged(int ACol, int ARow) {
  if (OnChange) OnChange(EventSender(), ACol, ARow);
}

void TCustomGridViewControl::CellSelected(int ACol, int ARow) {
  if (OnSelectCell) OnSelectCell(EventSender(), ACol, ARow);
}

void TCustomGridViewControl::CellDeselected(int ACol, int ARow) {
  if (OnDeselectCell) OnDeselectCell(EventSender(), ACol, ARow);
}

void TCustomGridViewControl::ColumnSorted(int ACol, bool Ascending) {
  if (OnSortColumn) OnSortColumn(EventSender(), ACol, Ascending);
}

void TCustomGridViewControl::ColumnChanged(TCustomColumn* Column, TColumnChangeKind Kind) {
  // The scroll ranges follow the columns at once rather than at the next paint.
  if (Kind == ccWidth || Kind == ccPosition) UpdateHorizontalScrollBar();
  if (Kind == ccWidth && OnColumnResize) OnColumnResize(EventSender(), Column->Index());
}

void TCustomGridViewControl::ColumnsChanged(int) {
  // A deleted column may have been the header held down or under the mouse: forget it, so that
  // the button coming up later does not reach for it.
  auto Present = [this](const TCustomColumn* Column) {
    for (int I = 0; I < FModel.Columns().Count(); ++I)
      if (FModel.Columns().Items(I) == Column) return true;
    return false;
  };
  if (FPointer.PressedHeader() && !Present(FPointer.PressedHeader())) FPointer.SetPressedHeader(nullptr);
  if (FPointer.HotHeader() && !Present(FPointer.HotHeader())) FPointer.SetHotHeader(nullptr);
  UpdateHorizontalScrollBar();
  UpdateVerticalScrollBar();
}

// Focus, selection and colours.

bool TCustomGridViewControl::HasFocus() { return HandleAllocated() && GetFocus() == FHandle; }

bool TCustomGridViewControl::ThemesInUse() { return FEnableVisualStyles && ThemeServices().ThemesActive(); }

TCustomColumn* TCustomGridViewControl::CurrentInputColumn() {
  return FModel.CurrentColumn() >= 0 && FModel.CurrentColumn() < FModel.Columns().Count()
             ? FModel.Columns().Items(FModel.CurrentColumn())
             : nullptr;
}

bool TCustomGridViewControl::CellDrawnSelected(int ACol, int ARow) {
  if (FModel.InputRowMode()) return false;
  if (FModel.Columns().Items(ACol)->Options().Contains(coDontHighlight)) return false;
  if (!GridFocused() && AppearanceOptions().Contains(aoHideSelection)) return false;
  const bool Current = ACol == FModel.CurrentColumn() && ARow == FModel.CurrentRow();
  if (Options().Contains(goSelectFullRow))
    return FModel.RowSelected(ARow) && (!Current || !AppearanceOptions().Contains(aoIndicateSelectedCell));
  return Current;
}

TColor TCustomGridViewControl::CellBackgroundColor(int ACol, int ARow) {
  if (!CellDrawnSelected(ACol, ARow)) return FModel.GetCell(ACol, ARow)->Color();
  if (!GridFocused()) return clBtnFace;
  if (AppearanceOptions().Contains(aoAlphaBlendedSelection))
    return TGraphicsProvider::MixColors(Color(), clHighlight, 0.25);
  return clHighlight;
}

TColor TCustomGridViewControl::CellTextColor(int ACol, int ARow) {
  if (CellDrawnSelected(ACol, ARow) && GridFocused()) return FHighlightedTextColor;
  return FModel.Columns().Items(ACol)->Font().Color;
}

// Resizing.

void TCustomGridViewControl::Resize() {
  TScrollView::Resize();
  ClientSizeChanged();
}

void TCustomGridViewControl::ClientSizeChanged() {
  if (!HandleAllocated()) return;
  const int Width = ClientWidth(), Height = ClientHeight();
  if (Height != FLastClientHeight) {
    if (Options().Contains(goFooter)) {
      const int Top = std::min(Height, FLastClientHeight) - (Height - FGeometry.FooterRect().Top);
      InvalidateClient(RECT{0, std::max(0, Top), Width, Height});
    }
    FLastClientHeight = Height;
    UpdateVerticalScrollBar();
  }
  if (Width != FLastClientWidth) {
    const int Old = FLastClientWidth;
    FLastClientWidth = Width;
    FModel.Columns().AutoSize(nullptr, false);
    if (HorzOffset() > 0)
      InvalidateGrid();
    else
      InvalidateClient(RECT{std::max(0, std::min(Old, Width) - 2), 0, Width, Height});
    UpdateHorizontalScrollBar();
    HideCellEditor();
  }
}
