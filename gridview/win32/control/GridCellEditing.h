#pragma once
// In-cell editing as the grid keeps it: which editor is open over which cell (or over a column's
// input cell), whether its text is being accepted, what Enter does (WantReturns and the direction
// the current cell then moves), and where an editor lies over its cell. The control opens, shows and
// focuses the editor windows; what is kept and worked out here needs no window. Nothing here fails.
#include "gridview/GridGeometry.h"
#include "gridview/GridTypes.h"

class TCellEditor;

class TGridCellEditing {
 public:
  // Enter over the grid moves the current cell in MoveDirection when WantReturns is set.
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  TSelectionMoveDirection MoveDirection() const { return FMoveDirection; }
  void SetMoveDirection(TSelectionMoveDirection Value) { FMoveDirection = Value; }

  // The open editor (owned by its column), null when none; the cell it edits, whose row is -1 for an
  // input cell.
  TCellEditor* Editor() const { return FEditor; }
  bool Input() const { return FInput; }
  bool EditingInput() const { return FEditor && FInput; }
  int Col() const { return FCol; }
  int Row() const { return FRow; }
  bool OpenOver(int ACol, int ARow) const { return FEditor && !FInput && ACol == FCol && ARow == FRow; }
  bool OpenOverInput(int ACol) const { return FEditor && FInput && FCol == ACol; }
  void Opened(TCellEditor& Editor, int ACol, int ARow, bool Input);
  // Forgets the open editor (before it is hidden: hiding moves the focus, which may come back to the
  // grid) and answers what was open.
  struct TClosed {
    TCellEditor* Editor = nullptr;
    bool Input = false;
    int Col = -1, Row = -1;
  };
  TClosed Forget();

  // The editor's text is being accepted (a handler asking the user takes the focus meanwhile, which
  // must not end the editing again).
  bool Accepting() const { return FAccepting; }
  class TAcceptScope {
   public:
    explicit TAcceptScope(TGridCellEditing& Editing) : FFlag(Editing.FAccepting) { FFlag = true; }
    ~TAcceptScope() { FFlag = false; }
    TAcceptScope(const TAcceptScope&) = delete;
    TAcceptScope& operator=(const TAcceptScope&) = delete;

   private:
    bool& FFlag;
  };

  // Where an editor lies over its cell: inside the cell's lines, never left of the data area.
  static TGridRect Bounds(const TGridGeometry& Geometry, int ACol, int ARow, bool Input);

 private:
  bool FWantReturns = false;
  TSelectionMoveDirection FMoveDirection = mdDown;
  TCellEditor* FEditor = nullptr;
  bool FInput = false;
  int FCol = -1, FRow = -1;
  bool FAccepting = false;
};
