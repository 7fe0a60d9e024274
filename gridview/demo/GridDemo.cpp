// torvane-grid-demo: one window with a grid that shows every column kind over 10,000 generated rows,
// a footer with formulas and the indicator strip, and menu choices for the header style, the grid
// style and the main appearance options. Command-line switches pick the starting choices:
//   --header=auto|flat|old  --slides  --no-themes  --rows=N  --input  --no-grid  --sorted
//   --top=N --left=PIXELS (start scrolled)
//   --grow (adds 1,000 more rows one by one, without the update lock, once the window shows)
//   --drag (stops in the middle of dragging the "Size" header over "Done", for a screenshot)
//   --fit-hint (points at a name too long for its column, so that its hint shows)
// Everything else is tried by hand: click, Ctrl- and Shift-click rows, drag header dividers and
// headers (dropped below the header they hide, with "Can hide columns"), type in the name column
// to search it, press Space or click in "Done", and point at long names and at names with hints.
//   --edit=combo|date|spin|text (opens that column's editor on the current row once the window
//   shows, with its popup dropped down)
//   --gif=FILE (shows that picture, animated when it has frames, in place of the bouncing ball)
// The name, notes, size, date, done, status and price columns are editable in place.
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gridview/demo/DemoGifs.h"
#include "gridview/win32/base/Themes.h"
#include "gridview/win32/control/GridView.h"
#include "gridview/win32/editors/PopupEditors.h"
#include "platform/Platform.h"
#include "platform/win32/WideText.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Forms.h"
#include "toolkit/GifImage.h"
#include "toolkit/ImageList.h"
#include "toolkit/Timer.h"

namespace {

enum TMenuCommand : UINT {
  cmHeaderAuto = 100,
  cmHeaderFlat,
  cmHeaderOld,
  cmReport = 110,
  cmSlides,
  cmGridLines = 120,
  cmIndicator,
  cmFooter,
  cmInput,
  cmFullRow,
  cmVisualStyles,
  cmSortedShading,
  cmAlphaSelection,
  cmMultiSelect,
  cmCanHide,
  cmWantReturns,
  cmExit = 199,
};

// Small pictures drawn here: file-type icons for the image column, a star for the rate column,
// and round pictures with alpha for the graphic column.
void DrawIcons(TImageList& Images) {
  const TColor Colors[] = {RGBColor(70, 120, 200), RGBColor(220, 170, 40), RGBColor(80, 160, 90),
                           RGBColor(190, 70, 70)};
  TBitmap Strip(16 * 4, 16);
  TCanvas& C = Strip.Canvas();
  C.Brush().SetColor(clFuchsia);
  C.FillRect(RECT{0, 0, 64, 16});
  for (int I = 0; I < 4; ++I) {
    const int X = I * 16;
    C.Pen().SetColor(RGBColor(60, 60, 60));
    C.Brush().SetColor(I == 1 ? Colors[1] : clWhite);
    if (I == 1) {
      C.Rectangle(RECT{X + 1, X ? 4 : 4, X + 15, 14});  // a folder
      C.Rectangle(RECT{X + 1, 2, X + 7, 5});
    } else {
      C.Polygon({{X + 3, 1}, {X + 10, 1}, {X + 13, 4}, {X + 13, 15}, {X + 3, 15}});  // a page
      C.Brush().SetColor(Colors[I]);
      C.FillRect(RECT{X + 5, 7, X + 12, 13});
    }
  }
  Images.AddMasked(Strip, clFuchsia);
}

TGlyph Star(TColor Fill, TColor Rim) {
  TGlyph Glyph;
  Glyph.Width = Glyph.Height = 12;
  Glyph.Pixels.assign(144, clWhite);
  const double Pi = 3.14159265358979;
  auto Inside = [&](double X, double Y) {
    // A five-pointed star as a polar outline.
    const double DX = X - 6, DY = Y - 6.3, R = std::hypot(DX, DY), A = std::atan2(DY, DX) + Pi / 2;
    const double Sector = std::fmod(std::fabs(A) + Pi / 5, 2 * Pi / 5) - Pi / 5;
    const double Limit = 5.8 * std::cos(Pi / 5) / std::cos(Sector) * (0.45 + 0.55 * std::fabs(std::cos(2.5 * A)));
    return R <= Limit;
  };
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X)
      if (Inside(X + 0.5, Y + 0.5)) {
        const bool Edge = !Inside(X - 0.5, Y + 0.5) || !Inside(X + 1.5, Y + 0.5) || !Inside(X + 0.5, Y - 0.5) ||
                          !Inside(X + 0.5, Y + 1.5);
        Glyph.Pixels[Y * 12 + X] = Edge ? Rim : Fill;
      }
  return Glyph;
}

std::unique_ptr<TBitmap> Bubble(int R, int G, int B) {
  auto Picture = std::make_unique<TBitmap>(24, 24);
  Picture->HasAlpha = true;
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 0; X < 24; ++X) {
      const double D = std::hypot(X + 0.5 - 12, Y + 0.5 - 12) / 11.5;
      const int Alpha = D >= 1 ? 0 : static_cast<int>(255 * std::min(1.0, (1 - D) * 4));
      const double Light = 1.0 - 0.5 * std::hypot(X - 8.0, Y - 8.0) / 16;
      Picture->Pixels()[Y * 24 + X] =
          Premultiplied(std::uint32_t(Alpha) << 24 | std::uint32_t(std::lround(R * Light)) << 16 |
                        std::uint32_t(std::lround(G * Light)) << 8 | std::uint32_t(std::lround(B * Light)));
    }
  return Picture;
}

// A price column edited with the plain numeric editor (the numeric column's own is the spin editor).
class TPriceColumn : public TNumericColumn {
 public:
  std::string EditorClass() const override { return "TNumericEditor"; }
};

class TDemoForm : public TForm {
 public:
  TDemoForm(THeaderStyle Style, bool Slides, int Rows);
  TGridView& Grid() { return FGrid; }
  // Adds Count rows, one by one and unlocked, shortly after the window shows.
  void GrowLater(int Count);
  // Scrolls to a top row and a horizontal offset once the window shows (-1 leaves one alone).
  void ScrollLater(int TopRow, int Left) {
    if (TopRow >= 0) FStartTop = TopRow;
    if (Left >= 0) FStartLeft = Left;
  }
  // Once the window shows: a column drag stopped half-way, or the mouse over a long name.
  void DragLater() {
    FAfterShow = [this] { StopInADrag(); };
  }
  void FitHintLater() {
    FAfterShow = [this] { PointAtALongName(); };
  }
  // Shows a picture file (any registered format) in place of the bouncing ball.
  void ShowPictureFile(const std::string& Path);
  // Opens the editor of a column on the current row, its popup dropped down, once the window shows.
  void EditLater(int Column) {
    FAfterShow = [this, Column] { StartEditing(Column); };
    // Once the window has settled: under Wine's desktop a popup shown while the window is still
    // being activated can end up beneath it.
    FAfterShowDelay = 1500;
  }

 protected:
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void Resize() override;

 private:
  void BuildMenu();
  void BuildColumns();
  void Fill(int Rows);
  void Command(UINT Id);
  void ToggleOption(TGridOption Option);
  void ToggleAppearance(TAppearanceOption Option);
  void SyncMenu();
  void StopInADrag();
  void PointAtALongName();
  void Animate(TPicture& Picture);

  TGridView FGrid{this};
  TImageList FImages{16, 16};
  std::vector<std::unique_ptr<TBitmap>> FPictures;
  // Declared after the grid: they go first, and with them their painter threads.
  std::vector<std::unique_ptr<TPicture>> FGifs = MakeDemoGifs();
  TCustomColumn* FGifColumn = nullptr;
  HMENU FMenu = nullptr;
  TTimer FGrowTimer, FAfterShowTimer;
  std::function<void()> FAfterShow;
  unsigned FAfterShowDelay = 400;
  int FStartTop = -1, FStartLeft = -1;
  void StartEditing(int Column);
};

TDemoForm::TDemoForm(THeaderStyle Style, bool Slides, int Rows) {
  SetCaption("Torvane Grid Demo");
  FGrowTimer.SetEnabled(false);
  SetBounds(40, 40, 1000, 700);
  Position = poScreenCenter;
  DrawIcons(FImages);
  for (auto [R, G, B] : {std::tuple{230, 80, 60}, {60, 150, 230}, {90, 190, 90}, {240, 190, 40}})
    FPictures.push_back(Bubble(R, G, B));
  FGrid.SetBounds(0, 0, 1000, 700);
  FGrid.SetHeaderStyle(Style);
  FGrid.SetRowSize(30);  // room for the wrapped notes
  FGrid.SetOptions(TGridOptions{goHeader, goGrid, goIndicator, goFooter, goSelectFullRow, goMultiSelect});
  FGrid.SetAppearanceOptions(TAppearanceOptions{aoHintMarks, aoIndicateSortedColumn});
  FGrid.SetGridLinesColor(clBtnFace);
  FGrid.SetCaption(u"No rows: nothing to show");
  BuildColumns();
  for (auto& Gif : FGifs) Animate(*Gif);
  Fill(Rows);
  if (Slides) FGrid.SetGridStyle(gsSlides);
  BuildMenu();
  // A Shift range and a Ctrl-added row.
  FGrid.Model().SetCurrentCell(1, 2, 0);
  FGrid.Model().SetCurrentCell(1, 4, ShiftKeyBit);
  FGrid.Model().SetCurrentCell(1, 7, CtrlKeyBit);
  OnShow = [this](TObject*) {
    const RECT Client = ClientRect();
    FGrid.SetBounds(0, 0, Client.right, Client.bottom);
    FGrid.SetFocus();
    if (FStartTop >= 0) FGrid.SetTopRow(FStartTop);
    if (FStartLeft >= 0) FGrid.HorzScrollBar().SetPosition(FStartLeft);
    if (!FAfterShow) return;
    FAfterShowTimer.SetInterval(FAfterShowDelay);
    FAfterShowTimer.OnTimer = [this](TObject*) {
      FAfterShowTimer.SetEnabled(false);
      FAfterShow();
    };
    FAfterShowTimer.SetEnabled(true);
  };
}

void TDemoForm::StartEditing(int Column) {
  FGrid.Model().SetCurrentCell(Column, 3, 0);
  FGrid.ShowCellEditor(Column, 3);
  if (auto* Popup = dynamic_cast<TPopupEditor*>(FGrid.OpenEditor())) Popup->OpenPopup(true);
}

void TDemoForm::BuildColumns() {
  TColumns& Columns = FGrid.Model().Columns();
  auto Setup = [](TCustomColumn* Column, const char16_t* Caption, int Width) {
    Column->Header().SetCaption(Caption);
    Column->SetWidth(Width);
    Column->SetColor(clWindow);
    Column->SetInputCaption(u"(new)");
    return Column;
  };
  auto* Icon = Columns.Add<TImageColumn>();
  Setup(Icon, u"", 24);
  Icon->SetImages(&FImages);
  Icon->SetAlignment(taCenter);
  auto* Name = Columns.Add<TTextualColumn>();
  Setup(Name, u"Name (ellipsis)", 130);
  Name->SetOptions(Name->Options() + TColumnOptions{coShowTextFitHint, coSearchColumn});
  auto* Notes = Columns.Add<TTextualColumn>();
  Setup(Notes, u"Notes (wrapping)", 120);
  Notes->SetWrapKind(wkWordWrap);
  Notes->SetVerticalAlignment(vaTop);
  auto* Size = Columns.Add<TNumericColumn>();
  Setup(Size, u"Size", 80);
  Size->SetFormatMask("###,###,##0k ");
  Size->SetAlignment(taRightJustify);
  Size->Footer().SetFormulaKind(fkSum);
  auto* Modified = Columns.Add<TDateColumn>();
  Setup(Modified, u"Modified", 120);
  Modified->SetHideWhenEmpty(true);  // "None" in the date popup leaves the cell empty
  auto* Done = Columns.Add<TCheckBoxColumn>();
  Setup(Done, u"Done", 44);
  Done->SetAlignment(taCenter);
  Done->SetOptions(Done->Options() + TColumnOptions{coEditing});  // click or Space toggles
  Done->Footer().SetFormulaKind(fkCount);
  auto* Progress = Columns.Add<TProgressColumn>();
  Setup(Progress, u"Progress", 100);
  Progress->SetProgressStyle(TProgressStyle::psGradient);
  Progress->SetShowText(true);
  Progress->Footer().SetFormulaKind(fkAverage);
  auto* Rate = Columns.Add<TRateColumn>();
  Setup(Rate, u"Rating", 70);
  Rate->SetGlyph(Star(RGBColor(250, 190, 30), RGBColor(170, 110, 0)));
  Rate->SetEmptyGlyph(Star(RGBColor(235, 235, 235), RGBColor(160, 160, 160)));
  Rate->SetTransparent(true);
  Rate->Footer().SetFormulaKind(fkMaximum);
  Setup(Columns.Add<THtmlColumn>(), u"HTML", 150);
  auto* Combo = Columns.Add<TComboBoxColumn>();
  Setup(Combo, u"Status", 90);
  Combo->SetItems({u"New", u"Open", u"Closed", u"Held", u"Archived"});
  Combo->SetImages(&FImages);
  Combo->SetShowImages(true);
  auto* Counter = Columns.Add<TIncrementColumn>();
  Setup(Counter, u"#", 50);
  Counter->SetAlignment(taRightJustify);
  auto* Picture = Columns.Add<TGraphicColumn>();
  Setup(Picture, u"Picture", 50);
  Picture->SetMargin(1);
  Picture->SetBorderWidth(0);
  auto* Price = Columns.Add<TPriceColumn>();
  Setup(Price, u"Price", 80);
  Price->SetAlignment(taRightJustify);
  Price->SetTextBefore(u"$");
  // Editable in place: text, notes, the size (spin), the date, the check box, the status (combo) and the price.
  for (int Index : {1, 2, 3, 4, 5, 9, 12}) {
    TCustomColumn* Column = Columns.Items(Index);
    Column->SetOptions(Column->Options() + TColumnOptions{coEditing});
  }
  Size->SetIncrement(100);
  Size->SetMin(0);
  Size->SetMax(9000);
  // Slides: the name, size, picture and HTML laid out on a card.
  Columns.Items(1)->SetSlideBounds(TSlideBounds{40, 8, 200, 18});
  Columns.Items(3)->SetSlideBounds(TSlideBounds{250, 8, 90, 18});
  Columns.Items(8)->SetSlideBounds(TSlideBounds{40, 32, 300, 18});
  Columns.Items(11)->SetSlideBounds(TSlideBounds{8, 8, 26, 26});
  // GIF pictures, shown second.
  FGifColumn = Columns.Add<TGraphicColumn>();
  Setup(FGifColumn, u"GIF", 44);
  static_cast<TGraphicColumn*>(FGifColumn)->SetMargin(1);
  static_cast<TGraphicColumn*>(FGifColumn)->SetBorderWidth(0);
  FGifColumn->SetPosition(1);
  Columns.Items(1)->Header().SetGlyph(Star(RGBColor(80, 140, 220), RGBColor(40, 80, 160)));
  Columns.Items(1)->Header().SetDisplayMode(dmTextAndImage);
}

void TDemoForm::Fill(int Rows) {
  static const char16_t* const Words[] = {u"report",  u"budget", u"photo",  u"notes",   u"draft", u"invoice",
                                          u"archive", u"backup", u"letter", u"summary", u"plan",  u"minutes"};
  static const char16_t* const Html[] = {u"<b>bold</b> and plain", u"<font color=\"red\">red</font> <i>italic</i>",
                                         u"<u>under</u><font color=\"#008000\"> green</font>",
                                         u"<a href=\"x\">a link</a>", u"a<b>b</b>c"};
  FGrid.Model().BeginUpdate();
  FGrid.Model().AddRows(Rows);
  for (int Row = 0; Row < Rows; ++Row) {
    const unsigned Seed = static_cast<unsigned>(Row) * 2654435761u;
    const std::u16string Word = Words[Seed % 12], Other = Words[(Seed >> 8) % 12];
    FGrid.Model().SetCellText(0, Row, Row % 7 == 0 ? u"1" : (Row % 5 == 0 ? u"3" : u"0"));
    FGrid.Model().SetCellText(1, Row, Word + u" " + Other + u" " + Word + u" " + std::u16string(u"quarterly.txt"));
    FGrid.Model().SetCellText(2, Row, Other + u" and " + Word + u" together");
    FGrid.Model().GetCell(3, Row)->SetAsFloat((Seed >> 4) % 5000000 / 1000.0);
    FGrid.Model().GetCell(4, Row)->SetAsDateTime(45000 + (Seed >> 12) % 900 + ((Seed >> 3) % 1440) / 1440.0);
    FGrid.Model().GetCell(5, Row)->SetAsBoolean((Seed >> 5) % 3 == 0);
    FGrid.Model().GetCell(6, Row)->SetAsFloat((Seed >> 7) % 101);
    FGrid.Model().GetCell(7, Row)->SetAsInteger(static_cast<int>((Seed >> 9) % 6));
    FGrid.Model().SetCellText(8, Row, Html[Row % 5]);
    FGrid.Model().SetCellText(9, Row, Row % 3 == 0 ? u"Open" : (Row % 3 == 1 ? u"New" : u"Closed"));
    FGrid.Model().GetCell(10, Row)->SetAsInteger(Row + 1);
    FGrid.Model().GetCell(11, Row)->SetObject(FPictures[Row % FPictures.size()].get());
    FGrid.Model().GetCell(12, Row)->SetAsFloat((Seed >> 6) % 100000 / 100.0);
    FGrid.Model().GetCell(13, Row)->SetObject(FGifs[Row % FGifs.size()].get());
    if (Row % 11 == 3) FGrid.Model().GetCell(1, Row)->SetHint(u"A hint for this name");
  }
  FGrid.Model().EndUpdate();
  FGrid.Model().RecalcFooters();
}

void TDemoForm::Animate(TPicture& Picture) {
  // Each next frame repaints the column; the grid draws only the cells in view.
  Picture.OnChange = [this](TObject*) { FGrid.InvalidateColumn(FGifColumn, gaData); };
  if (auto* Gif = dynamic_cast<TGifImage*>(Picture.Graphic())) Gif->SetAnimate(true);
}

void TDemoForm::ShowPictureFile(const std::string& Path) {
  try {
    FGifs.front()->LoadFromFile(PlatformFileSystem(), Path);
  } catch (const EInvalidGraphic& Error) {
    Application().HandleException(Error);  // the ball stays
  }
  Animate(*FGifs.front());
}

void TDemoForm::GrowLater(int Count) {
  FGrowTimer.SetInterval(300);
  FGrowTimer.OnTimer = [this, Count](TObject*) {
    FGrowTimer.SetEnabled(false);
    for (int I = 0; I < Count; ++I) {
      FGrid.Model().AddRows(1);
      FGrid.Model().SetCellText(1, FGrid.Model().RowCount() - 1, u"added one by one");
    }
  };
  FGrowTimer.SetEnabled(true);
}

void TDemoForm::BuildMenu() {
  FMenu = CreateMenu();
  HMENU Header = CreatePopupMenu(), Style = CreatePopupMenu(), Options = CreatePopupMenu(), File = CreatePopupMenu();
  AppendMenuW(File, MF_STRING, cmExit, L"E&xit");
  AppendMenuW(Header, MF_STRING, cmHeaderAuto, L"&Auto (themed or classic)");
  AppendMenuW(Header, MF_STRING, cmHeaderFlat, L"&Flat borders");
  AppendMenuW(Header, MF_STRING, cmHeaderOld, L"&Old style");
  AppendMenuW(Style, MF_STRING, cmReport, L"&Report");
  AppendMenuW(Style, MF_STRING, cmSlides, L"&Slides");
  AppendMenuW(Options, MF_STRING, cmGridLines, L"&Grid lines");
  AppendMenuW(Options, MF_STRING, cmIndicator, L"&Indicator");
  AppendMenuW(Options, MF_STRING, cmFooter, L"&Footer");
  AppendMenuW(Options, MF_STRING, cmInput, L"I&nput row");
  AppendMenuW(Options, MF_STRING, cmFullRow, L"Select full &row");
  AppendMenuW(Options, MF_STRING, cmMultiSelect, L"&Multiple selection");
  AppendMenuW(Options, MF_STRING, cmCanHide, L"Can &hide columns");
  AppendMenuW(Options, MF_STRING, cmWantReturns, L"Enter &moves down");
  AppendMenuW(Options, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(Options, MF_STRING, cmVisualStyles, L"&Visual styles");
  AppendMenuW(Options, MF_STRING, cmSortedShading, L"Shade &sorted column");
  AppendMenuW(Options, MF_STRING, cmAlphaSelection, L"&Alpha-blended selection");
  AppendMenuW(FMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(File), L"&File");
  AppendMenuW(FMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(Header), L"&HeaderStyle");
  AppendMenuW(FMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(Style), L"&GridStyle");
  AppendMenuW(FMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(Options), L"&Options");
  SetMenu(Handle(), FMenu);
  SyncMenu();
}

void TDemoForm::SyncMenu() {
  auto Check = [this](UINT Id, bool On) { CheckMenuItem(FMenu, Id, MF_BYCOMMAND | (On ? MF_CHECKED : MF_UNCHECKED)); };
  Check(cmHeaderAuto, FGrid.HeaderStyle() == hsAuto);
  Check(cmHeaderFlat, FGrid.HeaderStyle() == hsFlatBorders);
  Check(cmHeaderOld, FGrid.HeaderStyle() == hsOldStyle);
  Check(cmReport, FGrid.GridStyle() == gsReport);
  Check(cmSlides, FGrid.GridStyle() == gsSlides);
  const TGridOptions O = FGrid.Options();
  Check(cmGridLines, O.Contains(goGrid));
  Check(cmIndicator, O.Contains(goIndicator));
  Check(cmFooter, O.Contains(goFooter));
  Check(cmInput, O.Contains(goInput));
  Check(cmFullRow, O.Contains(goSelectFullRow));
  Check(cmMultiSelect, O.Contains(goMultiSelect));
  Check(cmCanHide, O.Contains(goCanHideColumn));
  Check(cmWantReturns, FGrid.WantReturns());
  Check(cmVisualStyles, FGrid.EnableVisualStyles());
  Check(cmSortedShading, FGrid.AppearanceOptions().Contains(aoIndicateSortedColumn));
  Check(cmAlphaSelection, FGrid.AppearanceOptions().Contains(aoAlphaBlendedSelection));
}

void TDemoForm::ToggleOption(TGridOption Option) {
  TGridOptions O = FGrid.Options();
  O.Contains(Option) ? O.Exclude(Option) : O.Include(Option);
  FGrid.SetOptions(O);
}

void TDemoForm::ToggleAppearance(TAppearanceOption Option) {
  TAppearanceOptions O = FGrid.AppearanceOptions();
  O.Contains(Option) ? O.Exclude(Option) : O.Include(Option);
  FGrid.SetAppearanceOptions(O);
}

void TDemoForm::Command(UINT Id) {
  switch (Id) {
    case cmHeaderAuto: FGrid.SetHeaderStyle(hsAuto); break;
    case cmHeaderFlat: FGrid.SetHeaderStyle(hsFlatBorders); break;
    case cmHeaderOld: FGrid.SetHeaderStyle(hsOldStyle); break;
    case cmReport: FGrid.SetGridStyle(gsReport); break;
    case cmSlides: FGrid.SetGridStyle(gsSlides); break;
    case cmGridLines: ToggleOption(goGrid); break;
    case cmIndicator: ToggleOption(goIndicator); break;
    case cmFooter: ToggleOption(goFooter); break;
    case cmInput: ToggleOption(goInput); break;
    case cmFullRow: ToggleOption(goSelectFullRow); break;
    case cmMultiSelect: ToggleOption(goMultiSelect); break;
    case cmCanHide: ToggleOption(goCanHideColumn); break;
    case cmWantReturns: FGrid.SetWantReturns(!FGrid.WantReturns()); break;
    case cmVisualStyles: FGrid.SetEnableVisualStyles(!FGrid.EnableVisualStyles()); break;
    case cmSortedShading: ToggleAppearance(aoIndicateSortedColumn); break;
    case cmAlphaSelection: ToggleAppearance(aoAlphaBlendedSelection); break;
    case cmExit: Close(); break;
    default: return;
  }
  SyncMenu();
}

void TDemoForm::StopInADrag() {
  // As a user would: press on the "Size" header, move past the drag threshold, then carry the
  // header over "Done" and hold it there.
  const RECT Size = FGrid.GetCellRect(3, 0), Done = FGrid.GetCellRect(5, 0);
  const int Y = FGrid.HeaderSize() / 2;
  const POINT Target = FGrid.ClientToScreen(POINT{(Done.left + Done.right) / 2, Y});
  SetCursorPos(Target.x, Target.y);
  FGrid.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Size.left + 10, Y));
  FGrid.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(Size.left + 20, Y));
  TColumnDragBox& Box = FGrid.DragBox();
  const POINT InBox = Box.ScreenToClient(Target);
  Box.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(InBox.x, InBox.y));
}

void TDemoForm::PointAtALongName() {
  const RECT Cell = FGrid.GetCellRect(1, 1);
  const POINT Point{Cell.left + 20, Cell.top + 6};
  const POINT Screen = FGrid.ClientToScreen(Point);
  SetCursorPos(Screen.x, Screen.y);
  FGrid.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(Point.x, Point.y));
}

LRESULT TDemoForm::WndProc(UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_COMMAND && LParam == 0 && HIWORD(WParam) == 0) {
    Command(LOWORD(WParam));
    return 0;
  }
  return TForm::WndProc(Message, WParam, LParam);
}

void TDemoForm::Resize() {
  TForm::Resize();
  if (HandleAllocated()) {
    const RECT Client = ClientRect();
    FGrid.SetBounds(0, 0, Client.right, Client.bottom);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  InstallPlatformServices();
  Application().Initialize();
  Application().SetTitle("Torvane Grid Demo");
  THeaderStyle Style = hsAuto;
  bool Slides = false;
  int Rows = 10000;
  for (int I = 1; I < __argc; ++I) {
    const std::wstring Arg = __wargv[I];
    if (Arg == L"--header=flat") Style = hsFlatBorders;
    if (Arg == L"--header=old") Style = hsOldStyle;
    if (Arg == L"--slides") Slides = true;
    if (Arg == L"--no-themes") ThemeServices().SetSuppressed(true);
    if (Arg.rfind(L"--rows=", 0) == 0) Rows = std::max(0, _wtoi(Arg.c_str() + 7));
  }
  try {
    TDemoForm Form(Style, Slides, Rows);
    TGridView& Grid = Form.Grid();
    for (int I = 1; I < __argc; ++I) {
      const std::wstring Arg = __wargv[I];
      if (Arg == L"--input") Grid.SetOptions(Grid.Options() + TGridOptions{goInput});
      if (Arg == L"--no-grid") Grid.SetOptions(Grid.Options() - TGridOptions{goGrid});
      if (Arg == L"--sorted") Grid.Model().SortByHeaderClick(Grid.Model().Columns().Items(3));
      if (Arg == L"--grow") Form.GrowLater(1000);
      if (Arg == L"--drag") Form.DragLater();
      if (Arg == L"--fit-hint") Form.FitHintLater();
      if (Arg.rfind(L"--top=", 0) == 0) Form.ScrollLater(_wtoi(Arg.c_str() + 6), -1);
      if (Arg.rfind(L"--left=", 0) == 0) Form.ScrollLater(-1, _wtoi(Arg.c_str() + 7));
      if (Arg == L"--edit=text") Form.EditLater(1);
      if (Arg == L"--edit=spin") Form.EditLater(3);
      if (Arg == L"--edit=date") Form.EditLater(4);
      if (Arg == L"--edit=combo") Form.EditLater(9);
      if (Arg == L"--edit=price") Form.EditLater(12);
      if (Arg.rfind(L"--gif=", 0) == 0) Form.ShowPictureFile(Narrow(Arg.substr(6)));
    }
    Application().Run(Form);
  } catch (const std::exception& Error) {
    Application().HandleException(Error);
    return 1;
  }
  return 0;
}
