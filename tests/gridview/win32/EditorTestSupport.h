#pragma once
// Helpers of the editor and popup tests: mouse and key messages sent to the real windows, painting
// into memory bitmaps, and a mouse pointer parked where no popup appears (the popups follow it).
#include "GridTestSupport.h"

inline LPARAM PointParam(int X, int Y) { return MAKELPARAM(static_cast<WORD>(X), static_cast<WORD>(Y)); }

inline void Press(TWinControl& Control, int X, int Y) {
  SendMessageW(Control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(X, Y));
}
inline void Release(TWinControl& Control, int X, int Y) {
  SendMessageW(Control.Handle(), WM_LBUTTONUP, 0, PointParam(X, Y));
}
// A key as the keyboard sends it: down, the character (when it has one), up.
void TypeKey(HWND Window, WORD Key, wchar_t Char = 0);
void TypeText(HWND Window, std::u16string_view Text);
void Wheel(HWND Window, int Notches);
// The text of a window and its selection.
std::u16string WindowText(HWND Window);
std::pair<int, int> Selection(HWND Window);

// Paints a control's client area into Bitmap (sized to it, white first).
void PaintInto(TCustomControl& Control, TBitmap& Bitmap);
bool HasInkIn(TBitmap& Bitmap, const RECT& Rect, COLORREF Background);
bool HasColorIn(TBitmap& Bitmap, const RECT& Rect, COLORREF Color);

struct EditorFixture : GridFixture {
  void SetUp() override;
};
