#pragma once
// The pointer over the grid as a state machine over the geometry. Between presses it hovers over a
// cell; a press makes it press a cell, resize a column at its divider, or press a header, which
// becomes a column drag once the pointer moves past the drag threshold; a left press on a row becomes
// a drag of the rows out of the grid the same way, where the grid offers one. The release, the drop or
// a cancel brings it back to idle. It decides and remembers; the control carries its answers out
// (capture, cursors, marker lines, hints, the drag box, the events), so the rules are tested
// without a window. Buttons are the control's own numbers. Nothing here fails.
#include "gridview/GridGeometry.h"

enum TPointerState { psIdle, psPressing, psResizing, psHeaderPress, psDragging, psDraggingOut };

// What a release ends, as the control needs it for the clicks it reports.
struct TPointerRelease {
  bool Ignored = false;              // another button's release during a resize or header press
  bool PressHeld = false;            // a press of this same button was held
  TCustomColumn* Resized = nullptr;  // the column whose resize ended
  int ResizeDelta = 0;               // its width's change
  bool OnCell = false;               // released over a cell, which is Col, Row
  int Col = -1, Row = -1;
  bool SameCell = false;                   // over the cell the press began in
  bool SelectOnRelease = false;            // the press left the selection to its release
  bool HeaderPress = false;                // the press began on a header column
  TCustomColumn* PressedHeader = nullptr;  // the header shown pressed until now
};

class TGridPointer {
 public:
  explicit TGridPointer(const TGridGeometry& Geometry) : FGeometry(Geometry) {}

  TPointerState State() const { return FState; }
  // A press is held: pressing, resizing or pressing a header (a drag has left its press behind).
  bool Pressed() const { return FState == psPressing || FState == psResizing || FState == psHeaderPress; }
  // A resize, header press or drag is under way: another press has no part in it.
  bool Busy() const {
    return FState == psResizing || FState == psHeaderPress || FState == psDragging || FState == psDraggingOut;
  }
  int PressButton() const { return FPressButton; }

  // A press of Button at X, Y: on a divider the column's resize begins; in the header a header press
  // when a column is there; anywhere else a plain press. The cell under it is remembered.
  void Press(int Button, int X, int Y);

  // The resize: the column, its width's change so far and the two marker lines (client x).
  TCustomColumn* ResizeColumn() const { return FState == psResizing ? FResizeColumn : nullptr; }
  int ResizeDelta() const { return FResizeDelta; }
  int ResizeLeftLine() const { return FResizeLeftLine; }
  int ResizeRightLine() const { return FResizeRightLine; }
  // The column's right edge follows the pointer to X, never narrower than the minimum column width.
  void ResizeTo(int X);

  // The header press: its column, which a move past the drag threshold, with the pressing button
  // still held and column moving allowed, starts dragging.
  TCustomColumn* HeaderColumn() const { return FState == psHeaderPress ? FHeaderColumn : nullptr; }
  enum TDragStep { dsNone, dsWait, dsStart };
  TDragStep MoveHeaderPress(int X, int Y, bool ButtonHeld, bool MovingAllowed) const;
  // The drag begins: answers its column.
  TCustomColumn* StartDrag();
  // The drag ends (dropped): answers the column dragged, null when none was.
  TCustomColumn* EndDrag();

  // A left press on a row (not the header, a divider or below the rows) that moves past the drag
  // threshold, with the button still held and a drag out allowed, starts one.
  TDragStep MoveRowPress(int X, int Y, bool ButtonHeld, bool DragOutAllowed) const;
  // The row the press began on, -1 for none.
  int PressRow() const { return FState == psPressing ? FPressRow : -1; }
  // The drag out of the grid: it begins (the press is over), and ends once the drop or cancel is.
  void StartDragOut();
  void EndDragOut();
  // A press on a row of a selection that may be dragged out changes the selection at its release, if
  // no drag began, rather than at once: the rows stay selected for the drag.
  void SelectOnRelease() { FSelectOnRelease = FState == psPressing; }

  TPointerRelease Release(int Button, int X, int Y);

  // What a cancel gave up, for the control to undo on screen.
  struct TCancelled {
    bool Resize = false, Drag = false;
  };
  TCancelled Cancel();

  // Header cells shown pressed and hot (under the pointer).
  TCustomColumn* PressedHeader() const { return FPressedHeader; }
  void SetPressedHeader(TCustomColumn* Column) { FPressedHeader = Column; }
  TCustomColumn* HotHeader() const { return FHotHeader; }
  void SetHotHeader(TCustomColumn* Column) { FHotHeader = Column; }

  // The cell hovered over (-1, -1 for none). HoverOver answers whether it is another one now;
  // LeaveRows forgets it and answers whether there was one.
  int HoverCol() const { return FHoverCol; }
  int HoverRow() const { return FHoverRow; }
  bool HoverOver(int Col, int Row);
  bool LeaveRows();
  void ForgetHover() { FHoverCol = FHoverRow = -1; }

  // Where the last double click was, and whether it was on the rows (on the header it was two clicks).
  void DoubleClickAt(int X, int Y) { FDoubleClickX = X, FDoubleClickY = Y; }
  bool DoubleClickOnRows() const { return FGeometry.HitArea(FDoubleClickX, FDoubleClickY) == haData; }

 private:
  const TGridGeometry& FGeometry;
  TPointerState FState = psIdle;
  int FPressButton = 0;
  int FPressX = 0, FPressY = 0;
  int FPressCol = -1, FPressRow = -1;
  bool FPressOnRow = false, FSelectOnRelease = false;
  TCustomColumn* FResizeColumn = nullptr;
  int FResizeDelta = 0, FResizeLeftLine = 0, FResizeRightLine = 0;
  TCustomColumn* FHeaderColumn = nullptr;
  TCustomColumn* FDragColumn = nullptr;
  TCustomColumn* FPressedHeader = nullptr;
  TCustomColumn* FHotHeader = nullptr;
  int FHoverCol = -1, FHoverRow = -1;
  int FDoubleClickX = -1, FDoubleClickY = -1;
};
