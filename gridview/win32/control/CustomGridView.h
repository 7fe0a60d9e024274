#pragma once
// The grid as a window control: rows scrolled vertically and pixels horizontally; painting of
// headers through a style display and of cells through the columns' displays; repaint requests for
// every change. Where things lie on screen is the geometry's to say (gridview/GridGeometry.h).
#include <array>
#include <functional>
#include <memory>

#include "gridview/GridGeometry.h"
#include "gridview/GridModel.h"
#include "gridview/GridPointer.h"
#include "gridview/win32/base/ScrollView.h"
#include "gridview/win32/control/ColumnDragBox.h"
#include "gridview/win32/control/GridAccessible.h"
#include "gridview/win32/control/GridCellEditing.h"
#include "gridview/win32/control/IncrementalSearch.h"
#include "gridview/win32/displays/Displays.h"
#include "gridview/win32/displays/StyleDisplays.h"
#include "gridview/win32/editors/CellEditors.h"
#include "toolkit/HintWindow.h"
#include "toolkit/Timer.h"

enum THeaderStyle { hsAuto, hsFlatBorders, hsOldStyle };
enum TCellStateFlag { csBoldTextSelection, csFocused, csSelected };
using TCellState = TSet<TCellStateFlag>;

// Cursor numbers of the grid's own cursors (the roll cursors are the scroll view's).
constexpr TCursor crHorzSplit = 3000, crColumnNoDrag = 3001, crIndicatorSelect = 3006;
// Registers the grid's cursor resources with the screen (once; missing resources are skipped).
void RegisterGridCursors();

// The control owns its data model and hands it out: rows, cells, columns, the current cell and the
// selection are the model's operations (Model().AddRows). It hears the model's changes through an
// observer of its own that nobody else sees.
class TCustomGridViewControl : public TScrollView,
                               private TGridObserver,
                               private TGridViewport,
                               private TGridAccessibleHost,
                               public TStyleDisplayOwner,
                               public TCellEditorHost {
 public:
  using TCellColoringEvent =
      std::function<void(TObject* Sender, int ACol, int ARow, TColor& CellColor, TColor& GridColor, TCellState State)>;
  using TDrawCellBackgroundEvent =
      std::function<void(TObject* Sender, int ACol, int ARow, const RECT& CellRect, TCellState State, bool& Default)>;
  using TCustomDrawCellEvent =
      std::function<void(TObject* Sender, int ACol, int ARow, const RECT& CellRect, TCellState State)>;
  using THeaderClickEvent = std::function<void(TObject* Sender, int ACol)>;
  using TCellEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
  using TSortColumnEvent = std::function<void(TObject* Sender, int ACol, bool Ascending)>;
  using TMeasuringRowHeightEvent = std::function<void(TObject* Sender, int Index, int& RowHeight)>;
  using TColumnResizeEvent = std::function<void(TObject* Sender, int ACol)>;
  using TBeforeEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Accept)>;
  using TEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const std::u16string& Value)>;
  using TEditAcceptEvent =
      std::function<void(TObject* Sender, int ACol, int ARow, const std::u16string& Value, bool& Accept)>;
  using TInputAcceptEvent = std::function<void(TObject* Sender, bool& Accept)>;

  explicit TCustomGridViewControl(TWinControl* Parent = nullptr);
  ~TCustomGridViewControl() override;

  TGridModel& Model() { return FModel; }
  const TGridModel& Model() const { return FModel; }
  // Where the areas, columns and rows lie on screen, and what lies at a point.
  TGridGeometry& Geometry() { return FGeometry; }
  const TGridGeometry& Geometry() const { return FGeometry; }

  // Layout properties.
  TGridLinesStyle GridLinesStyle() const { return FGeometry.LinesStyle(); }
  void SetGridLinesStyle(TGridLinesStyle Value);
  TColor GridLinesColor() const { return FGridLinesColor; }
  void SetGridLinesColor(TColor Value);
  int HeaderSize() const { return FGeometry.HeaderSize(); }
  void SetHeaderSize(int Value);
  THeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(THeaderStyle Value);
  bool HideScrollBar() const { return FHideScrollBar; }
  void SetHideScrollBar(bool Value);
  TColor HighlightedTextColor() const { return FHighlightedTextColor; }
  void SetHighlightedTextColor(TColor Value);
  int InputSize() const { return FGeometry.InputSize(); }
  void SetInputSize(int Value);
  int SlideSize() const { return FGeometry.SlideSize(); }
  void SetSlideSize(int Value);
  bool EnableVisualStyles() const { return FEnableVisualStyles; }
  void SetEnableVisualStyles(bool Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // The text shown when the grid has no rows (the window's own text is not used).
  const std::u16string& Caption() const { return FCaption; }
  void SetCaption(const std::u16string& Value);
  TGridOptions Options() const { return FModel.Options(); }
  void SetOptions(TGridOptions Value);
  TAppearanceOptions AppearanceOptions() const { return FModel.AppearanceOptions(); }
  void SetAppearanceOptions(TAppearanceOptions Value);
  int RowSize() const { return FModel.RowSize(); }
  void SetRowSize(int Value);
  TGridStyle GridStyle() const { return FModel.GridStyle(); }
  void SetGridStyle(TGridStyle Value);
  const TGridFont& GridFont() const { return FModel.GridFont(); }
  void SetGridFont(const TGridFont& Value);
  // The grid's own pixel sizes (TGridMetrics) follow the control's density; the sizes the program
  // sets (header, rows, columns) are scaled by TGridView.
  void ChangeScale(int M, int D) override;

  // Scrolling: the top row and the horizontal offset in pixels.
  int TopRow() const override;
  int HorzOffset() const override;
  void SetTopRow(int ARow) { VertScrollBar().SetPosition(ARow); }
  RECT GetCellRect(int ACol, int ARow, TGridArea Area = gaData) { return ToRECT(FGeometry.CellRect(ACol, ARow, Area)); }
  int ColumnDistance(int From, int To) override { return From - To; }
  int RowDistance(int From, int To) override { return FGeometry.RowDistance(From, To); }
  void ScrollBy(int DX, int DY) override;

  // Painting.
  bool CellDrawnSelected(int ACol, int ARow);
  TColor CellBackgroundColor(int ACol, int ARow);
  TColor CellTextColor(int ACol, int ARow);
  TStyleDisplay& ActiveStyle() { return *FStyles[FHeaderStyle]; }
  // The active header style, told to paint on this grid's canvas with the theming in force.
  TStyleDisplay& PreparedStyle();
  // Themes in use for the grid's own drawing (EnableVisualStyles and the platform's theming).
  bool ThemesInUse();
  // The grid has the keyboard focus (a test may pretend).
  virtual bool HasFocus();
  // The focus and theming as this paint sees them (asked once per paint, not once per cell).
  bool GridFocused() { return FPaint.Painting ? FPaint.Focused : HasFocus(); }
  bool GridThemes() { return FPaint.Painting ? FPaint.Themes : ThemesInUse(); }
  // Header cells held down and under the mouse (hot tracking).
  void SetPressedHeader(TCustomColumn* Column);
  void SetHotHeader(TCustomColumn* Column);

  // Repaint requests and scrolling that the program may ask for too.
  void InvalidateColumn(TCustomColumn* Column, TGridArea Area) override;
  void ScrollIntoView(int ARow) override;

  TCellEvent OnChange;
  TCellEvent OnSelectCell;
  TCellEvent OnDeselectCell;
  TSortColumnEvent OnSortColumn;
  TMeasuringRowHeightEvent OnMeasuringRowHeight;
  TColumnResizeEvent OnColumnResize;
  TCellColoringEvent OnCellColoring;
  TDrawCellBackgroundEvent OnDrawCellBackground;
  TCustomDrawCellEvent OnCustomDrawCell;
  TNotifyEvent OnPostDraw;
  THeaderClickEvent OnHeaderClick;
  THeaderClickEvent OnFooterClick;
  TCellEvent OnCellClick;
  // A left press on a selected row moved past the drag threshold: the selected rows are to be dragged
  // out of the grid (the handler runs the drag and returns once it is over). Without a handler a press
  // and move only select, as ever.
  TNotifyEvent OnDragOut;
  TBeforeEditEvent OnBeforeEdit;
  TEditEvent OnEdit;
  TEditEvent OnAfterEdit;
  TEditAcceptEvent OnEditAccept;
  TInputAcceptEvent OnInputAccept;
  TNotifyEvent OnInputAdded;

  // In-place editing. One editor at most is open: over a cell, or over a column's input cell.
  bool WantReturns() const { return FEditing.WantReturns(); }
  void SetWantReturns(bool Value) { FEditing.SetWantReturns(Value); }
  TSelectionMoveDirection SelectionMoveDirection() const { return FEditing.MoveDirection(); }
  void SetSelectionMoveDirection(TSelectionMoveDirection Value) { FEditing.SetMoveDirection(Value); }
  TCellEditor* OpenEditor() const { return FEditing.Editor(); }
  bool EditingInput() const { return FEditing.EditingInput(); }
  int EditColumn() const { return FEditing.Col(); }
  int EditRow() const { return FEditing.Row(); }
  // Opens the column's editor over the cell, with Key as its text when given (else the cell's).
  void ShowCellEditor(int ACol, int ARow, char16_t Key = 0);
  // Opens the column's editor over its input cell, with Key or the column's input text.
  void ShowInputEditor(int ACol, char16_t Key = 0);
  // Accepts the open editor's text: through OnEditAccept into the cell, or into the input text.
  void EndCellEdit();
  // Hides the open editor without accepting its text.
  void CloseEditor();
  void AcceptAndCloseEditor() {
    EndCellEdit();
    CloseEditor();
  }
  // Adds a row from the columns' input texts (OnInputAccept may refuse).
  void AcceptInputRow();
  // Moves the current cell as Enter does with WantReturns.
  void MoveBySelectionDirection();
  // Handles the note an editor leaves when it loses the focus; false for any other message.
  bool EditorFocusMessage(UINT Message);
  // The in-cell interaction of a column's play object (a check box toggling).
  bool BeginCellPlay(int ACol, int ARow);
  bool EditorKeyDown(TCellEditor& Editor, WORD Key, TShiftState Shift) override;
  void EditorFocusLeft(TCellEditor& Editor) override;

  // Mouse and keyboard.
  // The visible column Step places away in display order from ACol (creation indexes); -1 at the ends.
  int NextVisibleColumn(int ACol, int Step);
  bool ColumnResizing() const { return FPointer.State() == psResizing; }
  bool ColumnDragging() const { return FPointer.State() == psDragging; }
  TColumnDragBox& DragBox() { return FDragBox; }
  TDragArrow& DragArrow(bool Above) { return Above ? FArrowAbove : FArrowBelow; }
  THintWindow& FitHint() { return FFitHint; }
  const std::u16string& SearchText() const { return FSearch.Text(); }
  // The incremental search's reset (its timer calls this after 500 ms).
  void SearchTimerElapsed() { FSearch.Reset(); }
  // The application lost the activation: a press, resize or drag in progress is dropped.
  void CancelMouseInteraction();
  // Drag box reports, in screen coordinates.
  void ColumnDragMove(int ScreenX, int ScreenY);
  void ColumnDragDrop(int ScreenX, int ScreenY);

  // Style display owner.
  TColor OwnerColor() override { return Color(); }
  HWND OwnerWindow() override { return HandleAllocated() ? FHandle : nullptr; }
  TCustomColumn* PressedHeaderColumn() override { return FPointer.PressedHeader(); }
  TCustomColumn* HotHeaderColumn() override { return FPointer.HotHeader(); }
  TCustomColumn* CurrentInputColumn() override;
  bool OwnerFocused() override { return HasFocus(); }

 protected:
  // The Sender of the grid's events.
  TObject* EventSender() { return static_cast<TWinControl*>(this); }
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void Paint() override;
  void Resize() override;
  void FontChanged() override;
  void DoEnter() override;
  void DoExit() override;
  void ApplicationDeactivated() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool MouseWheel(TShiftState Shift, int Delta, POINT ScreenPos) override;
  void KeyPress(wchar_t& Key) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void DblClick() override;
  void MouseLeave() override;
  void StartDragOut();
  UINT DialogCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  // The hover cell changed or the mouse left: shows or hides the hints.
  virtual void UpdateHints(int ACol, int ARow);
  virtual void HideHints();
  void VerticalScrollMessage(int Code, int ThumbPosition) override;
  void HorizontalScrollMessage(int Code, int ThumbPosition) override;

  virtual void DrawCell(int ACol, int ARow);
  // Sets the canvas font for a cell and loads its value into the display; true when the display
  // should paint. The base only sets the font.
  virtual bool PrepareCellFont(int ACol, int ARow, TCellState State, TColumnDisplay& Display);

  void PaintReport();
  void PaintSlides();
  void PaintColumnParts();
  void PaintRows();
  void PaintEmptyCell(TCustomColumn& Column, const RECT& Rect, int ARow);
  void PaintCellLines(const TCustomColumn& Column, int ARow, const RECT& Rect, TColor Color);
  void PaintIndicatorCell(int ARow, int Top, int Height);
  void PaintFocusRect(const RECT& Rect);
  bool FocusRectAllowed();
  void ApplyColumnFont(const TCustomColumn& Column);
  void InvalidateClient(const RECT& Rect);
  void RedrawBorder();
  void UpdateScrollAreas();
  // Follows a new client size (a resize, or a scroll bar that came or went).
  void ClientSizeChanged();
  void PaintThemedBorder();
  void PressData(TShiftState Shift, int X, int Y);
  void InvertResizeLine(int X);
  void StartColumnDrag();
  void MoveInHeader(TShiftState Shift, int X, int Y);
  void MoveInData(int X, int Y);
  void ReleaseLeft(TGridHitArea Area, int X, int Y, bool SameCell, bool HeaderPress);
  void GoToRow(int ARow, TShiftState Shift);
  bool NavigationKey(WORD Key, TShiftState Shift);
  void IncrementalSearch(wchar_t Key);
  void HideDragArrows();

 private:
  // The viewport the geometry reads (with TopRow and HorzOffset).
  int ViewportWidth() const override;
  int ViewportHeight() const override;
  // What the accessible object asks.
  TWinControl& HostWindow() override { return *this; }
  TGridModel& HostModel() override { return FModel; }
  const TGridGeometry& HostGeometry() const override { return FGeometry; }
  bool HostFocused() override { return HasFocus(); }
  // What the model reports.
  bool ViewExists() override { return HandleAllocated(); }
  int ViewClientWidth() override { return ClientWidth(); }
  void MeasureRowHeight(int ARow, int& Height) override;
  void InvalidateGrid() override;
  void InvalidateArea(TGridArea Area) override;
  void InvalidateCell(int ACol, int ARow) override;
  void InvalidateRow(int ARow) override;
  void InvalidateRows(int First, int Last) override;
  void InvalidateIndicatorCell(int ARow) override;
  void InvalidateFromColumn(TCustomColumn* Column) override;
  void InvalidateSelection() override;
  void UpdateHorizontalScrollBar() override;
  void UpdateVerticalScrollBar() override;
  void ScrollRowsFrom(int ARow, int DY) override;
  void HideCellEditor() override { CloseEditor(); }
  void RepositionEditor() override;
  void CellChanged(int ACol, int ARow) override;
  void CellSelected(int ACol, int ARow) override;
  void CellDeselected(int ACol, int ARow) override;
  void ColumnSorted(int ACol, bool Ascending) override;
  void ColumnChanged(TCustomColumn* Column, TColumnChangeKind Kind) override;
  void ColumnsChanged(int Kind) override;

  // First of the fields: it goes last, after everything that paints its columns.
  TGridModel FModel;
  TGridGeometry FGeometry{FModel, *this};
  TColor FGridLinesColor = clBtnFace;
  THeaderStyle FHeaderStyle = hsAuto;
  bool FHideScrollBar = true;
  TColor FHighlightedTextColor = clHighlightText;
  bool FEnableVisualStyles = true;
  TBorderStyle FBorderStyle = bsSingle;
  std::u16string FCaption;
  std::array<std::unique_ptr<TStyleDisplay>, 3> FStyles;
  int FLastClientWidth = -1, FLastClientHeight = -1;
  // A paint under way, and the facts that cost a platform call each, taken once per paint.
  struct TPaintFacts {
    bool Painting = false;
    bool Focused = false, Themes = false, ThemesActive = false;
  } FPaint;
  // The open editor, the cell it edits, and what Enter does.
  TGridCellEditing FEditing;
  void OpenEditorAt(TCellEditor& Editor, int ACol, int ARow, bool Input, const std::u16string& Text, bool Typed);
  RECT EditorBounds(int ACol, int ARow, bool Input);
  TCellEditor* ColumnEditor(int ACol);
  void PlayCompleted(TColumnPlay& Play, int ACol, int ARow);

  // The mouse from a press to its release, the headers it holds down or hovers over, the cell under it.
  TGridPointer FPointer{FGeometry};
  HWND FFocusTarget = nullptr;  // where the focus goes while it leaves
  TIncrementalSearch FSearch;
  THintWindow FFitHint;
  TColumnDragBox FDragBox{this};
  TDragArrow FArrowAbove, FArrowBelow;
};
