#pragma once
// A grid in a hidden form that paints into memory bitmaps, with the focus under the test's control
// and themes switched off (the classic drawing is what the pixel tests check).
#include <gtest/gtest.h>

#include <memory>

#include "gridview/ColumnClasses.h"
#include "gridview/win32/control/GridView.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Forms.h"

class TTestGrid : public TGridView {
 public:
  using TGridView::TGridView;
  int FocusState = 0;  // 0 not focused, 1 focused, -1 ask the platform
  bool HasFocus() override { return FocusState < 0 ? TGridView::HasFocus() : FocusState == 1; }
  // Paints the whole client area into Bitmap (resized to the client area, white first).
  void PaintInto(TBitmap& Bitmap);
  using TCustomGridViewControl::DrawCell;
};

struct GridFixture : ::testing::Test {
  void SetUp() override;
  void TearDown() override;
  // A text column of Width pixels, its cells on the window colour.
  template <class T = TTextualColumn>
  T* AddColumn(int Width, const char16_t* Caption = u"") {
    T* Column = Grid->Model().Columns().Add<T>();
    Column->SetWidth(Width);
    Column->SetColor(clWindow);
    Column->Header().SetCaption(Caption);
    return Column;
  }
  COLORREF Px(int X, int Y) const { return Bitmap.Pixel(X, Y); }
  void Paint() { Grid->PaintInto(Bitmap); }
  // Whether any pixel of the rectangle differs from Background.
  bool HasInk(const RECT& Rect, COLORREF Background) const;
  // Leftmost and rightmost column of the rectangle holding a pixel other than Background (-1 if none).
  std::pair<int, int> InkSpan(const RECT& Rect, COLORREF Background) const;

  TForm Form;
  std::unique_ptr<TTestGrid> Grid;
  TBitmap Bitmap;
};

inline COLORREF Sys(int Index) { return GetSysColor(Index); }
