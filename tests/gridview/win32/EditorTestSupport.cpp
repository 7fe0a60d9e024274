#include "EditorTestSupport.h"

void TypeKey(HWND Window, WORD Key, wchar_t Char) {
  SendMessageW(Window, WM_KEYDOWN, Key, 1);
  if (Char) SendMessageW(Window, WM_CHAR, Char, 1);
  SendMessageW(Window, WM_KEYUP, Key, 1 | (1u << 30) | (1u << 31));
}

void TypeText(HWND Window, std::u16string_view Text) {
  for (char16_t C : Text) SendMessageW(Window, WM_CHAR, C, 1);
}

void Wheel(HWND Window, int Notches) {
  POINT Cursor{};
  GetCursorPos(&Cursor);
  SendMessageW(Window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(Notches * WHEEL_DELTA)),
               PointParam(Cursor.x, Cursor.y));
}

std::u16string WindowText(HWND Window) {
  const int Length = GetWindowTextLengthW(Window);
  std::wstring Buffer(static_cast<std::size_t>(Length) + 1, L'\0');
  Buffer.resize(static_cast<std::size_t>(GetWindowTextW(Window, Buffer.data(), Length + 1)));
  return std::u16string(Buffer.begin(), Buffer.end());
}

std::pair<int, int> Selection(HWND Window) {
  DWORD Start = 0, End = 0;
  SendMessageW(Window, EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return {static_cast<int>(Start), static_cast<int>(End)};
}

void PaintInto(TCustomControl& Control, TBitmap& Bitmap) {
  const RECT Client = Control.ClientRect();
  Bitmap.SetSize(Client.right, Client.bottom);
  Bitmap.Canvas().Brush().SetColor(clWhite);
  Bitmap.Canvas().FillRect(Client);
  Control.PaintTo(Bitmap.Canvas());
  GdiFlush();
}

bool HasInkIn(TBitmap& Bitmap, const RECT& Rect, COLORREF Background) {
  for (int Y = Rect.top; Y < Rect.bottom; ++Y)
    for (int X = Rect.left; X < Rect.right; ++X)
      if (Bitmap.Pixel(X, Y) != Background) return true;
  return false;
}

bool HasColorIn(TBitmap& Bitmap, const RECT& Rect, COLORREF Color) {
  for (int Y = Rect.top; Y < Rect.bottom; ++Y)
    for (int X = Rect.left; X < Rect.right; ++X)
      if (Bitmap.Pixel(X, Y) == Color) return true;
  return false;
}

void EditorFixture::SetUp() {
  GridFixture::SetUp();
  // The popups let the mouse go while the pointer is over them: keep it in a corner none covers.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
}
