// Paints a 1024 x 768 results grid (the window's six columns, 10,000 rows of typed cells) and
// scrolls it by one row, then does the same with the window's own result store holding 1,000,000
// results (the keys with "_1m"), printing the times as "key: value" lines:
//   paint_screen_ms        a full repaint through the window's paint message (off-screen buffer
//                          and copy to the screen included)
//   paint_screen_memory_ms a full repaint into a memory bitmap
//   scroll_row_ms          one row down: the pixels move, the uncovered strip is painted and the
//                          scroll bar shows the new position
//   scroll_bar_redraw_ms   for reference: the platform redrawing the scroll bar for a new position
//                          alone (part of scroll_row_ms)
//   select_row_ms          one click on another row: press, release and the repaint it causes
//   key_down_ms            the Down key on the last row in view: the row changes and the view
//                          scrolls by one row, repaint included
// Then a grid of 100 animated GIF cells in view (25 rows of four picture columns, each cell its own
// transparent two-frame picture, scaled to its cell over the cell's colour):
//   gif_cells_paint_ms              a full repaint
//   gif_cells_frame_and_paint_ms    every picture to its next frame, then a full repaint
//   gif_cells_bitmaps_per_cell_paint  bitmaps made per cell per repaint
//   gif_cells_bitmaps_per_frame     bitmaps made per picture per frame change
#include <chrono>
#include <cstdio>
#include <string>

#include "app/ResultGrid.h"
#include "core/Text.h"
#include "gif/GifEncoder.h"
#include "gridview/win32/control/GridView.h"
#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Forms.h"
#include "toolkit/GifImage.h"
#include "toolkit/ImageList.h"

namespace {
using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point Start, int Count) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count() / Count;
}

void BuildResultsGrid(TGridView& Grid, TImageList& Images) {
  Grid.SetRowSize(16);
  Grid.SetHeaderSize(18);
  Grid.SetOptions(TGridOptions{goHeader, goSelectFullRow, goMultiSelect});
  auto Add = [&Grid](auto* Column, const char16_t* Caption, int Width) {
    Column->Header().SetCaption(Caption);
    Column->SetWidth(Width);
    Column->SetColor(clWindow);
    return Column;
  };
  Add(Grid.Model().Columns().Add<TImageColumn>(), u"", 20)->SetImages(&Images);
  Add(Grid.Model().Columns().Add<TTextualColumn>(), u"Name", 220);
  auto* Size = Add(Grid.Model().Columns().Add<TNumericColumn>(), u"Size", 80);
  Size->SetFormatMask("###,###,##0k ");
  Size->SetAlignment(taRightJustify);
  Add(Grid.Model().Columns().Add<TDateColumn>(), u"Modified", 130);
  Add(Grid.Model().Columns().Add<TTextualColumn>(), u"Folder", 380)->SetOptions(TColumnOptions{coAutoSize, coCanSort});
  Add(Grid.Model().Columns().Add<TTextualColumn>(), u"Type", 150);
  Grid.Model().BeginUpdate();
  Grid.Model().AddRows(10000);
  for (int Row = 0; Row < 10000; ++Row) {
    Grid.Model().SetCellText(0, Row, Row % 9 ? u"0" : u"1");
    Grid.Model().SetCellText(1, Row, u"document-" + Utf8ToUtf16(std::to_string(Row)) + u".txt");
    Grid.Model().GetCell(2, Row)->SetAsFloat(Row * 37 % 900000 / 10.0);
    Grid.Model().GetCell(3, Row)->SetAsDateTime(45000 + Row % 700 + (Row % 97) / 97.0);
    Grid.Model().SetCellText(
        4, Row, u"C:\\Users\\someone\\Documents\\Projects\\folder " + Utf8ToUtf16(std::to_string(Row / 40)));
    Grid.Model().SetCellText(5, Row, u"Text Document");
  }
  Grid.Model().EndUpdate();
}

// The window's store with a million results, its columns as the window shows them.
void FillResultStore(TGridView& Grid, TResultGrid& Store, TImageList& Images) {
  Grid.SetRowSize(16);
  Grid.SetHeaderSize(18);
  Grid.SetOptions(TGridOptions{goHeader, goGrid, goSelectFullRow, goMultiSelect});
  const int Widths[] = {20, 220, 80, 130, 380, 150};
  for (int Col = 0; Col < 6; ++Col) Grid.Model().Columns().Items(Col)->SetWidth(Widths[Col]);
  static_cast<TImageColumn*>(Grid.Model().Columns().Items(0))->SetImages(&Images);
  Grid.Model().Columns().Items(2)->SetAlignment(taRightJustify);
  TFileEntry Entry;
  std::string Folder;
  Store.BeginUpdate();
  for (int Row = 0; Row < 1000000; ++Row) {
    if (Row % 20 == 0) Folder = "C:\\Users\\someone\\Documents\\Projects\\folder " + std::to_string(Row / 20);
    Entry.Name = "document-" + std::to_string(Row) + (Row % 9 ? ".txt" : "");
    Entry.Attributes = Row % 9 ? faArchive : faDirectory;
    Entry.Size = static_cast<std::uint64_t>(Row) * 37 % 900000 * 100;
    Entry.Time = 45000 + Row % 700 + (Row % 97) / 97.0;
    Store.Add(Folder, Entry);
  }
  Store.EndUpdate();
}

void Measure(TForm& Form, TGridView& Grid, const char* Suffix);

// A 40 x 40 picture of two frames, a disc and a square on a clear ground that moves between them.
std::vector<std::uint8_t> TwoFrameGif(unsigned Seed) {
  std::vector<TTrueColourFrame> Frames(2);
  for (int F = 0; F < 2; ++F) {
    Frames[F].Width = Frames[F].Height = 40;
    Frames[F].Delay = 50;
    Frames[F].Disposal = gdBackground;
    for (int Y = 0; Y < 40; ++Y)
      for (int X = 0; X < 40; ++X) {
        const int CX = F ? 26 : 14, DX = X - CX, DY = Y - 20;
        const bool Disc = DX * DX + DY * DY < 14 * 14,
                   Square = X >= 4 + 22 * (1 - F) && X < 14 + 22 * (1 - F) && Y >= 4 && Y < 14;
        const TArgb Colour = 0xFF000000u | (Seed * 2654435761u >> 8 & 0xFFFFFFu);
        Frames[F].Pixels.push_back(Disc ? Colour : Square ? 0xFF20A020u : 0);
      }
  }
  TGifEncodeOptions Options;
  Options.LoopCount = 0;
  return EncodeGif(Frames, Options);
}

void MeasureAnimatedCells(TForm& Form) {
  TGridView Grid(&Form);
  Grid.SetRowSize(30);
  Grid.SetOptions(TGridOptions{goGrid});
  constexpr int Columns = 4, Rows = 25;
  for (int Col = 0; Col < Columns; ++Col) {
    auto* Column = Grid.Model().Columns().Add<TGraphicColumn>();
    Column->SetWidth(44);
    Column->SetMargin(1);
    Column->SetBorderWidth(0);
    Column->SetColor(RGBColor(255, 230, 150));
  }
  std::vector<std::unique_ptr<TGifImage>> Pictures;
  Grid.Model().AddRows(Rows);
  for (int Row = 0; Row < Rows; ++Row)
    for (int Col = 0; Col < Columns; ++Col) {
      Pictures.push_back(std::make_unique<TGifImage>());
      Pictures.back()->LoadFromBytes(TwoFrameGif(unsigned(Pictures.size())));
      Grid.Model().GetCell(Col, Row)->SetObject(Pictures.back().get());
    }
  Form.Show();
  Grid.SetBounds(0, 0, 1024, 768);
  Application().ProcessMessages();
  UpdateWindow(Grid.Handle());

  const int Paints = 40;
  std::size_t Made = TBitmap::Made();
  auto Start = TClock::now();
  for (int I = 0; I < Paints; ++I) {
    Grid.Invalidate();
    UpdateWindow(Grid.Handle());
  }
  const double Paint = MillisecondsSince(Start, Paints);
  const double PaintBitmaps = double(TBitmap::Made() - Made) / Paints / double(Pictures.size());

  Made = TBitmap::Made();
  std::size_t FrameBitmaps = 0;
  Start = TClock::now();
  for (int I = 0; I < Paints; ++I) {
    const std::size_t Before = TBitmap::Made();
    for (auto& Picture : Pictures) Picture->SetFrame((Picture->Frame() + 1) % Picture->FrameCount());
    FrameBitmaps += TBitmap::Made() - Before;
    Grid.Invalidate();
    UpdateWindow(Grid.Handle());
  }
  const double FrameAndPaint = MillisecondsSince(Start, Paints);

  std::printf("gif_cells: %zu\n", Pictures.size());
  std::printf("gif_cells_paint_ms: %.3f\n", Paint);
  std::printf("gif_cells_frame_and_paint_ms: %.3f\n", FrameAndPaint);
  std::printf("gif_cells_bitmaps_per_cell_paint: %.2f\n", PaintBitmaps);
  std::printf("gif_cells_bitmaps_per_frame: %.2f\n", double(FrameBitmaps) / Paints / double(Pictures.size()));
  std::fflush(stdout);
}
}  // namespace

int main() {
  InstallPlatformServices();
  Application().Initialize();
  TForm Form;
  Form.SetBounds(0, 0, 1040, 806);
  TImageList Images(16, 16);
  TBitmap Strip(32, 16);
  Strip.Canvas().Brush().SetColor(clBlue);
  Strip.Canvas().FillRect(RECT{0, 0, 32, 16});
  Images.AddMasked(Strip, clFuchsia);
  {
    TGridView Grid(&Form);
    BuildResultsGrid(Grid, Images);
    Measure(Form, Grid, "");
  }
  {
    TGridView Grid(&Form);
    TResultGrid Store(Grid.Model(), FormatSettings());
    FillResultStore(Grid, Store, Images);
    Measure(Form, Grid, "_1m");
  }
  MeasureAnimatedCells(Form);
  return 0;
}

namespace {
void Measure(TForm& Form, TGridView& Grid, const char* Suffix) {
  Form.Show();
  Grid.SetBounds(0, 0, 1024, 768);
  Grid.SetFocus();
  Grid.Model().SetCurrentCell(1, 3, 0);
  Application().ProcessMessages();
  UpdateWindow(Grid.Handle());

  const int Paints = 60;
  auto Start = TClock::now();
  for (int I = 0; I < Paints; ++I) {
    Grid.Invalidate();
    UpdateWindow(Grid.Handle());
  }
  const double PaintScreen = MillisecondsSince(Start, Paints);

  TBitmap Memory(Grid.ClientWidth(), Grid.ClientHeight());
  Start = TClock::now();
  for (int I = 0; I < Paints; ++I) Grid.PaintTo(Memory.Canvas());
  GdiFlush();
  const double PaintMemory = MillisecondsSince(Start, Paints);

  const int Scrolls = 300;
  Start = TClock::now();
  for (int I = 0; I < Scrolls; ++I) {
    Grid.Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    UpdateWindow(Grid.Handle());
  }
  const double ScrollRow = MillisecondsSince(Start, Scrolls);
  const int TopAfterScrolls = Grid.TopRow();

  Start = TClock::now();
  for (int I = 0; I < Scrolls; ++I) {
    SCROLLINFO Info = {};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_POS;
    Info.nPos = I % 50;
    SetScrollInfo(Grid.Handle(), SB_VERT, &Info, TRUE);
  }
  const double BarRedraw = MillisecondsSince(Start, Scrolls);

  // Clicks alternate between rows far enough apart that each one moves the selection.
  const int Clicks = 300;
  Grid.SetTopRow(0);
  UpdateWindow(Grid.Handle());
  Start = TClock::now();
  for (int I = 0; I < Clicks; ++I) {
    const int Y = Grid.Geometry().RowTop(I % 2 ? 5 : 20) + 4;
    Grid.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, Y));
    Grid.Perform(WM_LBUTTONUP, 0, MAKELPARAM(300, Y));
    UpdateWindow(Grid.Handle());
  }
  const double SelectRow = MillisecondsSince(Start, Clicks);

  const int Keys = 300;
  Grid.Model().SetCurrentRow(Grid.TopRow() + Grid.Geometry().WholeRowsInView() - 1);
  UpdateWindow(Grid.Handle());
  const int TopBefore = Grid.TopRow();
  Start = TClock::now();
  for (int I = 0; I < Keys; ++I) {
    Grid.Perform(WM_KEYDOWN, VK_DOWN, 0);
    UpdateWindow(Grid.Handle());
  }
  const double KeyDown = MillisecondsSince(Start, Keys);
  const int KeyScrolled = Grid.TopRow() - TopBefore;

  std::printf("rows%s: %d\n", Suffix, Grid.Model().RowCount());
  std::printf("visible_rows%s: %d\n", Suffix, Grid.Geometry().VisibleRowCount());
  std::printf("paint_screen_ms%s: %.3f\n", Suffix, PaintScreen);
  std::printf("paint_screen_memory_ms%s: %.3f\n", Suffix, PaintMemory);
  std::printf("scroll_row_ms%s: %.3f\n", Suffix, ScrollRow);
  std::printf("scroll_bar_redraw_ms%s: %.3f\n", Suffix, BarRedraw);
  std::printf("top_row_after_scrolls%s: %d\n", Suffix, TopAfterScrolls);
  std::printf("select_row_ms%s: %.3f\n", Suffix, SelectRow);
  std::printf("key_down_ms%s: %.3f\n", Suffix, KeyDown);
  std::printf("rows_scrolled_by_keys%s: %d\n", Suffix, KeyScrolled);
  std::fflush(stdout);
}
}  // namespace
