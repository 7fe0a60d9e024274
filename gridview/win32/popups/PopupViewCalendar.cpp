// The month calendar popup of the date editor.
#include <algorithm>

#include "core/Clock.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/win32/base/DrawProviders.h"
#include "gridview/win32/base/Themes.h"
#include "gridview/win32/popups/PopupView.h"

namespace {
const char16_t* const EnglishMonths[12] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                           u"July",    u"August",   u"September", u"October", u"November", u"December"};
const char16_t* const DayHeadings[7] = {u"S", u"M", u"T", u"W", u"T", u"F", u"S"};
constexpr int TitleSquare = 18;
constexpr TColor SelectedThemed = RGBColor(251, 230, 148), SelectedClassic = RGBColor(192, 192, 192);
constexpr TColor TodayThemed = RGBColor(128, 0, 0);
}  // namespace

void TDatePopup::TSmallButton::Paint(TCanvas& Canvas, bool Themed) {
  if (!Themed || !ThemeServices().DrawBackground(L"BUTTON", Canvas.Handle(), 1, FPressed ? 3 : 1, FBounds)) {
    Canvas.Brush().SetColor(clBtnFace);
    Canvas.FillRect(FBounds);
    RECT Edge = FBounds;
    DrawEdge(Canvas.Handle(), &Edge, FPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  }
  Canvas.Font().SetColor(clBtnText);
  TGraphicsProvider::DrawTextLine(Canvas, FBounds, false, FCaption, taCenter);
}

void TDatePopup::TSmallButton::MouseDown() {
  FPressed = true;
  FOwner.InvalidateRect(FBounds);
}

void TDatePopup::TSmallButton::MouseUp(int X, int Y) {
  if (!FPressed) return;
  FPressed = false;
  FOwner.InvalidateRect(FBounds);
  if (Contains(X, Y) && OnClick) OnClick(&FOwner);
}

TDatePopup::TDatePopup()
    : FToday(*this, u"Today", RECT{18, 131, 18 + 48, 131 + 20}),
      FNone(*this, u"None", RECT{79, 131, 79 + 48, 131 + 20}) {
  SetBounds(0, 0, PopupWidth, PopupHeight);
  FToday.OnClick = [this](TObject*) { Pick(Utf8ToUtf16(DateTimeToStr(ProgramClock().Today()))); };
  FNone.OnClick = [this](TObject*) { Pick(u""); };
}

TDateTime TDatePopup::Date() const {
  TDateTime Value = 0;
  TryEncodeDate(FYear, FMonth, std::min(FDay, DaysInMonth(FYear, FMonth)), Value);
  return Value;
}

void TDatePopup::SetDate(TDateTime Value) {
  const TDateTimeParts Parts = DecodeDateTime(Value);
  FYear = Parts.Year, FMonth = Parts.Month, FDay = Parts.Day;
  Invalidate();
}

void TDatePopup::SetDay(int Value) {
  FDay = std::clamp(Value, 1, DaysInMonth(FYear, FMonth));
  Invalidate();
}

void TDatePopup::SetMonth(int Value) { ShowMonth(FYear, std::clamp(Value, 1, 12)); }
void TDatePopup::SetYear(int Value) { ShowMonth(std::clamp(Value, 1, 9999), FMonth); }

void TDatePopup::ShowMonth(int Year, int Month) {
  FYear = Year, FMonth = Month;
  FDay = std::clamp(FDay, 1, DaysInMonth(FYear, FMonth));
  Invalidate();
}

void TDatePopup::PreviousMonth() {
  if (FMonth > 1)
    ShowMonth(FYear, FMonth - 1);
  else if (FYear > 1)
    ShowMonth(FYear - 1, 12);
}

void TDatePopup::NextMonth() {
  if (FMonth < 12)
    ShowMonth(FYear, FMonth + 1);
  else if (FYear < 9999)
    ShowMonth(FYear + 1, 1);
}

void TDatePopup::SetMonthNames(const std::vector<std::u16string>& Value) {
  FMonthNames = Value;
  Invalidate();
}

void TDatePopup::SetSelectedDate(TDateTime Value) {
  InvalidateDate(FSelectedDate);
  FSelectedDate = DateOf(Value);
  InvalidateDate(FSelectedDate);
}

std::u16string TDatePopup::Title() const {
  const std::u16string Name = FMonthNames.size() == 12 ? FMonthNames[FMonth - 1] : EnglishMonths[FMonth - 1];
  return Name + u" " + Utf8ToUtf16(std::to_string(FYear));
}

TDateTime TDatePopup::CellDate(int Column, int Row) const {
  TDateTime First = 0;
  TryEncodeDate(FYear, FMonth, 1, First);
  // Weeks start on Sunday: the first cell is the Sunday on or before the first of the month.
  const int Offset = DecodeDateTime(First).DayOfWeek - 1;
  return First - Offset + Row * Columns + Column;
}

RECT TDatePopup::CellRect(int Column, int Row) {
  const int X = GridLeft + Column * CellWidth, Y = GridTop + Row * CellHeight;
  return RECT{X, Y, X + CellWidth, Y + CellHeight};
}

bool TDatePopup::CellAt(int X, int Y, int& Column, int& Row) {
  // The mouse's day area ends at the sixth week: below it lie the buttons, not a seventh week.
  const int Bottom = std::min(ClientHeight() - 20, GridTop + Rows * CellHeight);
  if (X < GridLeft || X >= ClientWidth() - GridLeft || Y < GridTop + 2 || Y >= Bottom) return false;
  Column = (X - GridLeft) / CellWidth;
  Row = (Y - GridTop) / CellHeight;
  return Column < Columns && Row < Rows;
}

void TDatePopup::InvalidateDate(TDateTime Value) {
  const int Index = static_cast<int>(DateOf(Value) - CellDate(0, 0));
  if (Index >= 0 && Index < Columns * Rows) InvalidateRect(CellRect(Index % Columns, Index / Columns));
}

void TDatePopup::Paint() {
  TCanvas& C = Canvas();
  const bool Themed = ThemeServices().ThemesActive();
  C.Brush().SetColor(Color());
  C.FillRect(ClientRect());
  C.Font().Assign(Font());
  C.Font().SetColor(clWindowText);
  PaintTitle(C, Themed);
  PaintDays(C, Themed);
  C.Font().Assign(Font());
  FToday.Paint(C, Themed);
  FNone.Paint(C, Themed);
}

void TDatePopup::PaintTitle(TCanvas& C, bool Themed) {
  const int W = ClientWidth();
  C.Brush().SetColor(Themed ? TGraphicsProvider::BlendColors(clGradientInactiveCaption, clWindow, 249) : clBtnFace);
  C.FillRect(RECT{2, 2, W - 2, 18});
  TGraphicsProvider::DrawTextLine(C, RECT{2, 0, W - 2, 19}, false, Title(), taCenter);
  C.Pen().SetColor(clWindowText);
  C.Brush().SetColor(clWindowText);
  C.Polygon({{12, 5}, {12, 13}, {8, 9}});
  C.Polygon({{W - 13, 5}, {W - 13, 13}, {W - 9, 9}});
  for (int Column = 0; Column < Columns; ++Column) {
    const int X = GridLeft + CellWidth * Column;
    TGraphicsProvider::DrawTextLine(C, RECT{X, 20, X + 15, 34}, false, DayHeadings[Column], taRightJustify);
  }
  C.Pen().SetColor(clGrayText);
  C.Line(GridLeft, 34, W - 15, 34);
  C.Line(GridLeft, 126, W - 15, 126);
}

void TDatePopup::PaintDays(TCanvas& C, bool Themed) {
  const TDateTime Today = ProgramClock().Today();
  for (int Row = 0; Row < Rows; ++Row)
    for (int Column = 0; Column < Columns; ++Column) {
      const TDateTime Day = CellDate(Column, Row);
      const RECT Cell = CellRect(Column, Row);
      if (Day == FSelectedDate) {
        C.Brush().SetColor(Themed ? SelectedThemed : SelectedClassic);
        C.FillRect(Cell);
      }
      if (Day == Today) {
        C.Brush().SetColor(Themed ? TodayThemed : clHighlight);
        C.FrameRect(Cell);
      }
      const TDateTimeParts Parts = DecodeDateTime(Day);
      C.Font().SetColor(Parts.Month == FMonth ? clWindowText : clGrayText);
      TGraphicsProvider::DrawTextLine(C, RECT{Cell.left, Cell.top, Cell.left + 15, Cell.bottom}, false,
                                      Utf8ToUtf16(std::to_string(Parts.Day)), taRightJustify);
    }
}

void TDatePopup::SelectCellAt(int X, int Y) {
  int Column = 0, Row = 0;
  if (CellAt(X, Y, Column, Row) && CellDate(Column, Row) != FSelectedDate) SetSelectedDate(CellDate(Column, Row));
}

void TDatePopup::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TPopupView::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !InClient(X, Y)) return;
  int Column = 0, Row = 0;
  if (X < TitleSquare && Y < TitleSquare) {
    PreviousMonth();
  } else if (X >= ClientWidth() - TitleSquare && Y < TitleSquare) {
    NextMonth();
  } else if (FToday.Contains(X, Y)) {
    FToday.MouseDown();
  } else if (FNone.Contains(X, Y)) {
    FNone.MouseDown();
  } else if (CellAt(X, Y, Column, Row)) {
    FSelecting = true;
    SelectCellAt(X, Y);
  }
}

void TDatePopup::MouseMove(TShiftState Shift, int X, int Y) {
  TPopupView::MouseMove(Shift, X, Y);
  if (FSelecting && (Shift & ssLeft)) SelectCellAt(X, Y);
}

void TDatePopup::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FSelecting = false;
  // A button's release is its own: a click picks, a release beside it does nothing more.
  for (TSmallButton* Small : {&FToday, &FNone})
    if (Small->Pressed()) {
      Small->MouseUp(X, Y);
      return;
    }
  TPopupView::MouseUp(Button, Shift, X, Y);
}

void TDatePopup::MoveSelection(int Days) {
  SetSelectedDate(FSelectedDate + Days);
  const TDateTimeParts Parts = DecodeDateTime(FSelectedDate);
  if (Parts.Year != FYear || Parts.Month != FMonth) ShowMonth(Parts.Year, Parts.Month);
}

void TDatePopup::PickSelected() { Pick(Utf8ToUtf16(DateTimeToStr(FSelectedDate))); }

void TDatePopup::PickAt(int X, int Y) {
  int Column = 0, Row = 0;
  if (CellAt(X, Y, Column, Row)) Pick(Utf8ToUtf16(DateTimeToStr(CellDate(Column, Row))));
}
