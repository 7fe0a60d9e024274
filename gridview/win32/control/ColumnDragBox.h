#pragma once
// Reordering columns by dragging a header: a floating copy of the dragged header cell that follows
// the pointer (it holds the mouse capture for the whole drag), and the two red arrows that mark
// where the column would go.
#include <functional>

#include "gridview/win32/displays/StyleDisplays.h"
#include "toolkit/FlyoutControl.h"

class TColumnDragBox : public TFlyoutControl, public TStyleDisplayOwner {
 public:
  // X, Y in screen coordinates.
  using TDragEvent = std::function<void(TColumnDragBox& Box, int X, int Y)>;

  // Grid: the window the drag belongs to (its colour and focus for the header painter).
  explicit TColumnDragBox(TWinControl* Grid);

  // The box is already placed over the dragged header cell and has the grid's font. Shows it
  // (unless Hidden), remembers the column, and takes the mouse for the rest of the drag, which
  // the release of Button (the one that pressed the header) ends.
  void StartDrag(int X, int Y, bool Hidden, TCustomColumn* Column, TMouseButton Button = mbLeft);
  TCustomColumn* Column() const { return FColumn; }
  bool Dragging() const { return FDragging; }
  // Ends a drag without a drop (the application lost the activation).
  void CancelDrag();

  TDragEvent OnMove;
  TDragEvent OnDrop;

  // Style display owner: a classic header cell that is never pressed or hot.
  TColor OwnerColor() override { return clBtnFace; }
  HWND OwnerWindow() override { return HandleAllocated() ? FHandle : nullptr; }
  TCustomColumn* PressedHeaderColumn() override { return nullptr; }
  TCustomColumn* HotHeaderColumn() override { return nullptr; }
  TCustomColumn* CurrentInputColumn() override { return nullptr; }
  bool OwnerFocused() override { return false; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void Paint() override;

 private:
  TWinControl* FGrid;
  TCustomColumn* FColumn = nullptr;
  TDefaultStyleDisplay FStyle{this};
  bool FDragging = false;
  TMouseButton FButton = mbLeft;
};

// A 9 x 9 red arrow, its window cut to the arrow's shape.
class TDragArrow : public TFlyoutControl {
 public:
  enum TShape { shNone = 0, shUp = 1, shDown = 2 };
  TDragArrow();
  TShape Shape() const { return FShape; }
  void SetShape(TShape Value);

 protected:
  void CreateWnd() override;
  void Paint() override;

 private:
  void ApplyShape();
  TShape FShape = shNone;
};
