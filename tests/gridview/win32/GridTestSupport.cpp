#include "GridTestSupport.h"

#include "gridview/win32/base/Themes.h"

void TTestGrid::PaintInto(TBitmap& Bitmap) {
  const RECT Client = ClientRect();
  Bitmap.SetSize(Client.right, Client.bottom);
  Bitmap.Canvas().Brush().SetColor(clWhite);
  Bitmap.Canvas().FillRect(Client);
  PaintTo(Bitmap.Canvas());
  GdiFlush();
}

void GridFixture::SetUp() {
  Application().Initialize();
  ThemeServices().SetSuppressed(true);
  Form.SetBounds(0, 0, 700, 500);
  Grid = std::make_unique<TTestGrid>(&Form);
  Grid->SetBorderStyle(bsNone);
  Grid->SetBounds(0, 0, 400, 200);
  Grid->HandleNeeded();
}

void GridFixture::TearDown() {
  Grid.reset();
  ThemeServices().SetSuppressed(false);
}

bool GridFixture::HasInk(const RECT& Rect, COLORREF Background) const { return InkSpan(Rect, Background).first >= 0; }

std::pair<int, int> GridFixture::InkSpan(const RECT& Rect, COLORREF Background) const {
  int First = -1, Last = -1;
  for (int X = Rect.left; X < Rect.right; ++X)
    for (int Y = Rect.top; Y < Rect.bottom; ++Y)
      if (Bitmap.Pixel(X, Y) != Background) {
        if (First < 0) First = X;
        Last = X;
        break;
      }
  return {First, Last};
}
