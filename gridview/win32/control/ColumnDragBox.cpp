#include "gridview/win32/control/ColumnDragBox.h"

#include "gridview/win32/base/DrawProviders.h"

TColumnDragBox::TColumnDragBox(TWinControl* Grid) : FGrid(Grid) {}

void TColumnDragBox::CreateParams(TCreateParams& Params) {
  TFlyoutControl::CreateParams(Params);
  Params.ClassName = L"Torvane.ColumnDragBox";
}

void TColumnDragBox::StartDrag(int X, int Y, bool Hidden, TCustomColumn* Column, TMouseButton Button) {
  FColumn = Column;
  FButton = Button;
  FDragging = true;
  if (!Hidden) ShowFlyout();
  // The box takes the mouse: every move and the release come here until the drag ends.
  SetCapture(Handle());
  const POINT Client = ScreenToClient(POINT{X, Y});
  MouseMove(0, Client.x, Client.y);
}

void TColumnDragBox::CancelDrag() {
  if (!FDragging) return;
  FDragging = false;
  HideFlyout();
  if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
}

LRESULT TColumnDragBox::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  // Another window taking the mouse ends the drag where it is, as a release there would.
  if (Message == WM_CAPTURECHANGED && FDragging && reinterpret_cast<HWND>(LParam) != FHandle) {
    POINT Point;
    GetCursorPos(&Point);
    Point = ScreenToClient(Point);
    MouseUp(FButton, 0, Point.x, Point.y);
  }
  return TFlyoutControl::WndProc(Message, WParam, LParam);
}

void TColumnDragBox::MouseMove(TShiftState Shift, int X, int Y) {
  TFlyoutControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  const POINT Screen = ClientToScreen(POINT{X, Y});
  if (OnMove) OnMove(*this, Screen.x, Screen.y);
  if (!FDragging) return;
  SetBounds(Screen.x - Width() / 2, Screen.y - Height() + 4, Width(), Height());
}

void TColumnDragBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TFlyoutControl::MouseUp(Button, Shift, X, Y);
  if (Button != FButton || !FDragging) return;
  const POINT Screen = ClientToScreen(POINT{X, Y});
  FDragging = false;
  HideFlyout();
  if (GetCapture() == FHandle) ReleaseCapture();
  if (OnDrop) OnDrop(*this, Screen.x, Screen.y);
}

void TColumnDragBox::Paint() {
  if (!FColumn) return;
  const RECT Client = ClientRect();
  // Always the classic header button, its caption alone.
  FStyle.SetPaint(TStylePaint{&Canvas(), false, false, false});
  Canvas().Font().Assign(FGrid->Font());
  FStyle.DrawHeaderCell(*FColumn, Client);
  // The dark edge of a raised button along the bottom and up the right.
  TCanvas& C = Canvas();
  C.Pen().SetColor(clBlack);
  C.MoveTo(0, Client.bottom - 1);
  C.LineTo(Client.right - 1, Client.bottom - 1);
  C.LineTo(Client.right - 1, -1);
}

TDragArrow::TDragArrow() { SetBounds(0, 0, 9, 9); }

void TDragArrow::SetShape(TShape Value) {
  FShape = Value;
  ApplyShape();
}

void TDragArrow::CreateWnd() {
  TFlyoutControl::CreateWnd();
  ApplyShape();
}

void TDragArrow::ApplyShape() {
  if (!HandleAllocated()) return;
  static const POINT Up[] = {{-1, 5}, {4, -1}, {9, 5}, {6, 5}, {6, 9}, {3, 9}, {3, 4}, {0, 5}};
  static const POINT Down[] = {{5, 0}, {3, 0}, {3, 4}, {0, 4}, {4, 9}, {9, 4}, {6, 4}, {6, 0}};
  HRGN Region = nullptr;
  if (FShape == shUp)
    Region = CreatePolygonRgn(Up, 8, WINDING);
  else if (FShape == shDown)
    Region = CreatePolygonRgn(Down, 8, WINDING);
  else
    Region = CreateRectRgn(0, 0, 0, 0);                     // no points: an empty shape
  SetWindowRgn(FHandle, Region, IsWindowVisible(FHandle));  // the window owns the region now
}

void TDragArrow::Paint() {
  Canvas().Brush().SetColor(clRed);
  Canvas().FillRect(ClientRect());
}
