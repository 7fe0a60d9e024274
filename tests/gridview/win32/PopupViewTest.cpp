#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "core/Clock.h"
#include "core/FormatSettings.h"
#include "core/Text.h"
#include "gridview/win32/popups/PopupView.h"

namespace {
struct PopupFixture : EditorFixture {
  void Open(TPopupList& List, int Rows) {
    List.SetItems(&Items);
    List.SetItemHeight(16);
    List.SetWidth(100);
    List.SetClientHeight(16 * Rows);
    List.OnPick = [this](TObject*, const std::u16string& Text) { Picks.push_back(Text); };
    List.OnClose = [this](TObject*) { ++Closes; };
    List.ShowAt(200, 100);
  }
  std::vector<std::u16string> Items{u"New", u"Open", u"Closed", u"Held", u"Done"};
  std::vector<std::u16string> Picks;
  int Closes = 0;
};

TDateTime Day(int Year, int Month, int D) { return EncodeDate(Year, Month, D); }
}  // namespace

TEST_F(PopupFixture, ListNearTheRightEdgeEndsOnePixelBeforeIt) {
  TPopupList List;
  Open(List, 3);
  const int ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  List.ShowAt(ScreenWidth - 40, 100);
  RECT Window;
  GetWindowRect(List.Handle(), &Window);
  EXPECT_EQ(Window.right, ScreenWidth - 1);
  EXPECT_EQ(Window.right - Window.left, 100);
  EXPECT_EQ(Window.top, 100);
  List.ShowAt(-30, 5);
  GetWindowRect(List.Handle(), &Window);
  EXPECT_EQ(Window.left, 0);
  // Shown top-most without taking the activation or the focus from the editor.
  EXPECT_TRUE(GetWindowLongW(List.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_NE(GetActiveWindow(), List.Handle());
}

TEST_F(PopupFixture, FirstReleaseOnlyArmsAndLaterOnesPickOrClose) {
  TPopupList List;
  Open(List, 5);
  EXPECT_EQ(GetCapture(), List.Handle());
  // The release of the press that opened the list, over its third line.
  Release(List, 10, 40);
  EXPECT_TRUE(Picks.empty());
  EXPECT_TRUE(List.Armed());
  EXPECT_FALSE(List.Hidden());
  EXPECT_EQ(GetCapture(), List.Handle());
  Release(List, 10, 40);
  ASSERT_EQ(Picks.size(), 1u);
  EXPECT_EQ(Picks[0], u"Closed");
  EXPECT_EQ(List.ItemIndex(), 2);
  // A release outside closes the list without a pick.
  Release(List, 10, -30);
  EXPECT_EQ(Picks.size(), 1u);
  EXPECT_TRUE(List.Hidden());
  EXPECT_EQ(Closes, 1);
  EXPECT_NE(GetCapture(), List.Handle());
  EXPECT_FALSE(IsWindowVisible(List.Handle()));
}

TEST_F(PopupFixture, ReopenedListHighlightsTheRowLastPicked) {
  TPopupList List;
  List.SetEditorText(u"Held");
  Open(List, 3);
  // The first time row 0, whatever the editor's text.
  EXPECT_EQ(List.HotRow(), 0);
  Release(List, 10, 5);
  List.MoveHotRow(3);  // past the visible rows: the list scrolls to show it
  EXPECT_EQ(List.HotRow(), 3);
  EXPECT_EQ(List.TopRow(), 1);
  List.PickHotRow();
  List.ClosePopup();
  List.SetEditorText(u"New");
  Open(List, 3);
  EXPECT_EQ(List.HotRow(), 3);
  EXPECT_EQ(List.TopRow(), 1);
  // Painted: the hot row (third visible line) in the highlight colour, the others in the window colour.
  TBitmap Bitmap;
  PaintInto(List, Bitmap);
  EXPECT_EQ(Bitmap.Pixel(1, 32 + 1), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(Bitmap.Pixel(1, 16 + 1), Sys(COLOR_WINDOW));
  EXPECT_TRUE(HasColorIn(Bitmap, RECT{2, 32, 40, 48}, Sys(COLOR_HIGHLIGHTTEXT)));
  EXPECT_TRUE(HasColorIn(Bitmap, RECT{2, 16, 40, 32}, Sys(COLOR_WINDOWTEXT)));
  // With fewer lines the old index lies outside: the line equal to the editor's text is chosen.
  Items.resize(2);
  List.ClosePopup();
  List.SetEditorText(u"Open");
  Open(List, 2);
  EXPECT_EQ(List.HotRow(), 1);
}

TEST_F(PopupFixture, ListBorderIsDarkShadowOutsideAndWhiteInside) {
  TPopupList List;
  Open(List, 2);
  UpdateWindow(List.Handle());
  RedrawWindow(List.Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  HDC DC = GetWindowDC(List.Handle());
  EXPECT_EQ(GetPixel(DC, 0, 0), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(GetPixel(DC, 99, 20), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(GetPixel(DC, 1, 1), RGB(255, 255, 255));
  ReleaseDC(List.Handle(), DC);
  // Inside the border, the scroll bar for the five lines, then the client area.
  RECT Client;
  GetClientRect(List.Handle(), &Client);
  EXPECT_EQ(Client.right, 96 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(Client.bottom, 32);
}

TEST_F(PopupFixture, PreviousMonthOfJanuaryIsDecemberOfThePreviousYear) {
  TDatePopup Calendar;
  Calendar.SetDate(Day(2024, 1, 31));
  Calendar.ShowAt(100, 100);
  Release(Calendar, 5, 5);
  Press(Calendar, 5, 5);
  EXPECT_EQ(Calendar.Month(), 12);
  EXPECT_EQ(Calendar.Year(), 2023);
  EXPECT_EQ(Calendar.Title(), u"December 2023");
  Release(Calendar, 5, 5);
  const int Right = Calendar.ClientWidth() - 5;
  Press(Calendar, Right, 5);
  Press(Calendar, Right, 5);
  EXPECT_EQ(Calendar.Month(), 2);
  EXPECT_EQ(Calendar.Year(), 2024);
  EXPECT_EQ(Calendar.Day(), 29);  // the 31st does not exist in February
  Calendar.SetMonthNames(
      {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"});
  EXPECT_EQ(Calendar.Title(), u"Feb 2024");
  Calendar.SetMonthNames({u"too", u"few"});
  EXPECT_EQ(Calendar.Title(), u"February 2024");
}

TEST_F(PopupFixture, CalendarPicksTheDayUnderTheMouseTodayAndNone) {
  TDatePopup Calendar;
  std::vector<std::u16string> Picked;
  Calendar.OnPick = [&](TObject*, const std::u16string& Text) { Picked.push_back(Text); };
  Calendar.SetDate(Day(2024, 2, 10));
  Calendar.ShowAt(100, 100);
  Release(Calendar, 5, 5);
  // Row 2, column 3 of February 2024 (which starts on a Thursday) is the 14th; the press selects,
  // dragging moves the selection, the release picks.
  const RECT Cell = TDatePopup::CellRect(3, 2);
  Press(Calendar, Cell.left + 3, Cell.top + 3);
  EXPECT_EQ(Calendar.SelectedDate(), Day(2024, 2, 14));
  SendMessageW(Calendar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, PointParam(Cell.left + 3 + 17, Cell.top + 3));
  EXPECT_EQ(Calendar.SelectedDate(), Day(2024, 2, 15));
  Release(Calendar, Cell.left + 3 + 17, Cell.top + 3);
  ASSERT_EQ(Picked.size(), 1u);
  EXPECT_EQ(Picked[0], Utf8ToUtf16(DateTimeToStr(Day(2024, 2, 15))));
  // Below the sixth week lies no day.
  int Column = 0, Row = 0;
  EXPECT_FALSE(Calendar.CellAt(20, 128, Column, Row));
  const RECT Today = Calendar.TodayButton().BoundsRect(), None = Calendar.NoneButton().BoundsRect();
  Press(Calendar, Today.left + 5, Today.top + 5);
  EXPECT_TRUE(Calendar.TodayButton().Pressed());
  Release(Calendar, Today.left + 5, Today.top + 5);
  Press(Calendar, None.left + 5, None.top + 5);
  Release(Calendar, None.left + 5, None.top + 5);
  ASSERT_EQ(Picked.size(), 3u);
  EXPECT_EQ(Picked[1], Utf8ToUtf16(DateTimeToStr(ProgramClock().Today())));
  EXPECT_EQ(Picked[2], u"");
}

TEST_F(PopupFixture, CalendarLayoutClassic) {
  TDatePopup Calendar;
  Calendar.SetDate(Day(2024, 2, 10));
  Calendar.SetSelectedDate(Day(2024, 2, 14));
  Calendar.HandleNeeded();
  TBitmap Bitmap;
  PaintInto(Calendar, Bitmap);
  const int W = Calendar.ClientWidth();
  ASSERT_EQ(W, TDatePopup::PopupWidth - 4);
  // Title band in the button face colour, with the two navigation triangles in the text colour.
  EXPECT_EQ(Bitmap.Pixel(2, 2), Sys(COLOR_BTNFACE));
  EXPECT_EQ(Bitmap.Pixel(W - 3, 17), Sys(COLOR_BTNFACE));
  EXPECT_EQ(Bitmap.Pixel(1, 2), Sys(COLOR_WINDOW));
  EXPECT_EQ(Bitmap.Pixel(2, 18), Sys(COLOR_WINDOW));
  EXPECT_EQ(Bitmap.Pixel(11, 9), Sys(COLOR_WINDOWTEXT));
  EXPECT_EQ(Bitmap.Pixel(W - 12, 9), Sys(COLOR_WINDOWTEXT));
  EXPECT_EQ(Bitmap.Pixel(13, 9), Sys(COLOR_BTNFACE));
  // The two grey lines end one pixel before x width - 15.
  for (int Y : {34, 126}) {
    EXPECT_EQ(Bitmap.Pixel(14, Y), Sys(COLOR_GRAYTEXT)) << Y;
    EXPECT_EQ(Bitmap.Pixel(W - 16, Y), Sys(COLOR_GRAYTEXT)) << Y;
    EXPECT_EQ(Bitmap.Pixel(W - 15, Y), Sys(COLOR_WINDOW)) << Y;
    EXPECT_EQ(Bitmap.Pixel(13, Y), Sys(COLOR_WINDOW)) << Y;
  }
  // Seven headings, each right-aligned in its 15-pixel box.
  for (int Column = 0; Column < 7; ++Column) {
    const int X = 14 + 17 * Column;
    EXPECT_TRUE(HasInkIn(Bitmap, RECT{X, 20, X + 15, 34}, Sys(COLOR_WINDOW))) << Column;
    EXPECT_FALSE(HasInkIn(Bitmap, RECT{X + 15, 20, X + 17, 34}, Sys(COLOR_WINDOW))) << Column;
  }
  // The selected day's cell in silver; 28 January (first cell) in grey text, 1 February in window text.
  const RECT Selected = TDatePopup::CellRect(3, 2);
  EXPECT_EQ(Bitmap.Pixel(Selected.left, Selected.top), RGB(192, 192, 192));
  EXPECT_EQ(Bitmap.Pixel(Selected.right - 1, Selected.bottom - 1), RGB(192, 192, 192));
  EXPECT_EQ(Bitmap.Pixel(Selected.right, Selected.top), Sys(COLOR_WINDOW));
  EXPECT_TRUE(HasColorIn(Bitmap, TDatePopup::CellRect(0, 0), Sys(COLOR_GRAYTEXT)));
  EXPECT_FALSE(HasColorIn(Bitmap, TDatePopup::CellRect(0, 0), Sys(COLOR_WINDOWTEXT)));
  EXPECT_TRUE(HasColorIn(Bitmap, TDatePopup::CellRect(4, 0), Sys(COLOR_WINDOWTEXT)));
  EXPECT_EQ(Calendar.CellDate(0, 0), Day(2024, 1, 28));
  EXPECT_EQ(Calendar.CellDate(6, 5), Day(2024, 3, 9));
  // The buttons: raised classic frames at their places.
  EXPECT_EQ(Bitmap.Pixel(18 + 47, 131 + 19), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(Bitmap.Pixel(79 + 47, 131 + 19), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(Bitmap.Pixel(17, 140), Sys(COLOR_WINDOW));
}

TEST_F(PopupFixture, CalendarOutlinesTodaysCell) {
  TDatePopup Calendar;
  const TDateTime Today = ProgramClock().Today();
  Calendar.SetDate(Today);
  Calendar.SetSelectedDate(Today - 40);  // elsewhere
  Calendar.HandleNeeded();
  TBitmap Bitmap;
  PaintInto(Calendar, Bitmap);
  const int Index = static_cast<int>(Today - Calendar.CellDate(0, 0));
  const RECT Cell = TDatePopup::CellRect(Index % 7, Index / 7);
  EXPECT_EQ(Bitmap.Pixel(Cell.left, Cell.top), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(Bitmap.Pixel(Cell.right - 1, Cell.bottom - 1), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(Bitmap.Pixel(Cell.left + 1, Cell.bottom - 2), Sys(COLOR_WINDOW));
}
