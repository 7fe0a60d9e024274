#pragma once
// Shared pieces of the task-pane tests: a shown form to put controls on, painting into memory
// bitmaps, and pumping messages until a condition holds.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Forms.h"

namespace PaneTest {

struct FormTest : ::testing::Test {
  void SetUp() override {
    Application().Initialize();
    Application().OnException = [this](const std::exception& Error) { Errors.push_back(Error.what()); };
    Form.SetBounds(20, 20, 720, 420);
  }
  void TearDown() override {
    Application().OnException = nullptr;
    EXPECT_TRUE(Errors.empty()) << Errors.front();
  }
  TForm Form;
  std::vector<std::string> Errors;
};

// The control's whole client area painted into a new bitmap of its size.
template <typename TControl>
std::unique_ptr<TBitmap> PaintToBitmap(TControl& Control) {
  auto Bitmap = std::make_unique<TBitmap>(Control.Width(), Control.Height());
  Control.PaintTo(Bitmap->Canvas());
  GdiFlush();
  return Bitmap;
}

inline COLORREF Rgb(TColor Color) { return static_cast<COLORREF>(Color) & 0xFFFFFF; }

// Processes messages until Done answers true or about five seconds have passed; answers Done().
inline bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds = 5000) {
  const DWORD Start = GetTickCount();
  while (!Done()) {
    if (GetTickCount() - Start > Milliseconds) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Application().ProcessMessages();
  }
  return true;
}

inline void PumpFor(DWORD Milliseconds) {
  PumpUntil([] { return false; }, Milliseconds);
}

inline LPARAM At(int X, int Y) { return MAKELPARAM(X, Y); }

// Pixels of Colour within the rectangle.
inline int CountColor(TBitmap& Bitmap, const RECT& Rect, COLORREF Color) {
  int Count = 0;
  for (int Y = Rect.top; Y < Rect.bottom; ++Y)
    for (int X = Rect.left; X < Rect.right; ++X)
      if (Bitmap.Pixel(X, Y) == Color) ++Count;
  return Count;
}

// Pixels that differ from Background within the rectangle.
inline int CountInk(TBitmap& Bitmap, const RECT& Rect, COLORREF Background) {
  int Count = 0;
  for (int Y = Rect.top; Y < Rect.bottom; ++Y)
    for (int X = Rect.left; X < Rect.right; ++X)
      if (Bitmap.Pixel(X, Y) != Background) ++Count;
  return Count;
}

}  // namespace PaneTest
