// The main window's controls: looks, texts, defaults, places and anchors.
#include <algorithm>
#include <utility>

#include "app/HelpLinks.h"
#include "app/MainForm.h"
#include "core/Text.h"
#include "results/ResultRows.h"
#include "search/SearchRun.h"

namespace {

constexpr TColor BandColor = RGBColor(105, 128, 218), BandLine = RGBColor(38, 62, 153);
constexpr TColor CriteriaColor = RGBColor(214, 223, 247), LinkColor = RGBColor(0, 33, 231);
// Lengths at 96 pixels per inch; the window scales them to its density where it places its controls.
constexpr int BandHeight = 136, StatusHeight = 22, HelpBarWidth = 184, HelpBarMargin = 1, PaneGap = 6;
constexpr int SearchBarHeight = 35, CriteriaHeight = 88;
// The criteria panel's width as laid out: controls anchored to its right keep their distance to the
// right edge from there.
constexpr int CriteriaDesignWidth = 482;

void SetPaneFont(TFont& Font, int Height, TFontStyles Style) {
  Font.SetName("Tahoma");
  Font.SetHeight(Height);
  Font.SetStyle(Style);
  Font.SetColor(LinkColor);
}

}  // namespace

void TForm1::BuildBand() {
  tpContainer2.SetColor(BandColor);
  tpContainer2.SetBoundLines(blRight);
  tpContainer2.SetBoundColor(BandLine);
  tpContainer2.SetBorderWidth(4);
  tpContainer2.OnAlignChildren = [this](TObject*) { PlaceBand(); };

  tpPaneBar1.SetParentFont(false);
  tpPaneBar1.SetCaption("File & Folder Search");
  SetPaneFont(tpPaneBar1.Font(), -13, 0);
  SetPaneFont(tpPaneBar1.HeaderFont(), -11, fsBold);
  tpPaneBar1.SetBounds(0, 0, CriteriaDesignWidth, SearchBarHeight);

  tpContainer3.SetColor(CriteriaColor);
  tpContainer3.SetBoundLines(blLeft | blRight | blBottom);
  tpContainer3.SetBoundColor(clWhite);
  tpContainer3.OnAlignChildren = [this](TObject*) { PlaceCriteria(); };

  tpPaneBar3.SetParentFont(false);
  tpPaneBar3.SetCaption("Help & Support");
  SetPaneFont(tpPaneBar3.Font(), -11, 0);
  SetPaneFont(tpPaneBar3.HeaderFont(), -11, fsBold);
  tpPaneBar3.SetImageList(&ImageList1);
  for (int Link = 0; Link < HelpLinkCount; ++Link)
    tpPaneBar3.Items().Add().SetCaption(HelpLinkCaption(THelpLink(Link)));
  tpPaneBar3.SetBounds(0, 0, HelpBarWidth, 123);
}

void TForm1::BuildCriteria() {
  struct TPlace {
    TWinControl& Control;
    int Left, Top, Width, Height;
  };
  const TPlace Places[] = {
      {Label5, 10, 8, 0, 0},     {search, 64, 4, 165, 21},  {Label2, 10, 64, 0, 0},     {contains, 64, 60, 161, 21},
      {Label1, 10, 36, 0, 0},    {path, 64, 32, 141, 21},   {Button4, 206, 31, 22, 23}, {sc_size, 240, 6, 68, 17},
      {sztp, 310, 4, 81, 21},    {edit1, 394, 4, 65, 21},   {Label3, 462, 8, 0, 0},     {sc_modified, 240, 34, 68, 17},
      {stdate, 310, 32, 81, 21}, {nddate, 394, 32, 81, 21}, {Button1, 400, 58, 75, 25},
  };
  for (const TPlace& Place : Places) Place.Control.SetBounds(Place.Left, Place.Top, Place.Width, Place.Height);
  Label5.SetCaption("Named:");
  Label2.SetCaption("&With text:");
  Label2.FocusControl = &contains;
  Label1.SetCaption("Look i&n:");
  Label1.FocusControl = &path;
  Label3.SetCaption("KB");
  for (TLabel* Label : {&Label5, &Label2, &Label1, &Label3}) Label->AdjustSize();
  path.SetText("C:\\");
  Button4.SetCaption("...");
  sc_size.SetCaption("File Size:");
  sztp.SetItems({"At Least", "At Most"});
  sztp.SetItemIndex(0);
  edit1.SetText("1000");
  sc_modified.SetCaption("Modified:");
  Button1.SetCaption(SearchCaption);
  for (TComboBox* Box : {&search, &path}) Box->SetDropDownCount(8);
}

// The pictures are drawn for the window's density: the help bar's and the rows' image lists and the
// two bars' icons.
void TForm1::LoadImages() {
  const HINSTANCE Instance = GetModuleHandleW(nullptr);
  ImageList1.SetSize(ScaleValue(24), ScaleValue(24));
  ImageList1.AddResource(Instance, "TPHELPIMAGE", clFuchsia);
  ImageList2.SetSize(ScaleValue(16), ScaleValue(16));
  ImageList2.AddResource(Instance, "ROWIMAGES", clFuchsia);
  tpPaneBar1.Icon().LoadFromResourceName(Instance, "TPFOLDERICON", ScaleValue(32));
  tpPaneBar3.Icon().LoadFromResourceName(Instance, "TPHELPICON", ScaleValue(32));
}

void TForm1::BuildGrid() {
  flist.SetHeaderSize(18);
  flist.SetRowSize(16);
  flist.SetOptions(TGridOptions{goHeader, goGrid, goMultiSelect, goSelectFullRow});
  flist.SetAppearanceOptions(TAppearanceOptions{aoHideSelection});
  flist.SetGridLinesColor(clWindow);
  flist.SetColor(clWindow);
  flist.SetTabStop(true);
  // The columns come with the results' store; here they get their looks.
  TColumns& Columns = flist.Model().Columns();
  constexpr int Widths[ResultColumnCount] = {20, 170, 70, 110, 200, 100};
  for (int Column = 0; Column < ResultColumnCount; ++Column) {
    Columns.Items(Column)->SetWidth(Widths[Column]);
    Columns.Items(Column)->SetColor(clWindow);
  }
  auto* Image = static_cast<TImageColumn*>(Columns.Items(rcImage));
  Image->SetImages(&ImageList2);
  Image->SetAlignment(taCenter);
  Columns.Items(rcSize)->SetAlignment(taRightJustify);
}

void TForm1::BuildStatusBar() {
  StatusBar1.AddPanel(100, taLeftJustify, psOwnerDraw);
  StatusBar1.AddPanel(200, taCenter);
  StatusBar1.AddPanel(100, taCenter);
  StatusBar1.AddPanel(50, taLeftJustify);
  // The progress bar's panel: during a run the bar covers it and its texts stay unpainted; once the
  // run is over it shows what the run left there (that it was cancelled).
  StatusBar1.OnDrawPanel = [this](TStatusBar* Bar, int Panel, const RECT& Rect, HDC DC) {
    if (RunState() == rsIdle) Bar->DrawPanelText(Panel, Rect, DC);
  };
  prg.SetRange(0, 100);
  prg.SetStep(10);
  prg.SetVisible(false);
}

void TForm1::BuildCommands() {
  TMenuItem& Open1 = PopupMenu1.Add("Open1", "&Open");
  Open1.Default = true;
  Open1.OnClick = [this](TObject* Sender) { Open1Click(Sender); };
  PopupMenu1.Add("Explore1", "&Explore").OnClick = [this](TObject* Sender) { Explore1Click(Sender); };
  PopupMenu1.AddSeparator("N1");
  PopupMenu1.AddAction("Delete1", DeleteRecycle);
  PopupMenu1.AddAction("Delete2", DeletePermanent);
  DeleteRecycle.OnExecute = [this](TObject* Sender) { DeleteRecycleExecute(Sender); };
  DeletePermanent.OnExecute = [this](TObject* Sender) { DeletePermanentExecute(Sender); };
  // Taking results elsewhere, after the commands on the results themselves.
  PopupMenu1.AddSeparator("N2");
  TAction& CopyPath = ActionList1.Add("CopyPath", "Copy Path", scCtrl | 'C');
  CopyPath.OnExecute = [this](TObject* Sender) { CopyPathExecute(Sender); };
  PopupMenu1.AddAction("CopyPath1", CopyPath);
  TAction& ExportResults = ActionList1.Add("ExportResults", "Export Results...", 0);
  ExportResults.OnExecute = [this](TObject* Sender) { ExportResultsExecute(Sender); };
  PopupMenu1.AddAction("ExportResults1", ExportResults);
  // F5 searches again with the criteria as they stand, from any control; during a run it does nothing
  // (a second press of the button is what cancels).
  TAction& SearchAgain = ActionList1.Add("SearchAgain", "Search Again", VK_F5);
  SearchAgain.OnExecute = [this](TObject* Sender) { SearchAgainExecute(Sender); };
  // Del, Shift+Del and Ctrl+C act on the results only from the grid; in a criteria field they edit
  // its text, and elsewhere they do nothing to the files.
  for (TAction* Action : {&DeleteRecycle, &DeletePermanent, &CopyPath}) Action->ShortCutTarget = &flist;
  PopupMenu = &PopupMenu1;
  flist.PopupMenu = &PopupMenu1;
  for (TTimer* Timer : {&clearSearchTimer, &clearPathTimer, &startTimer}) Timer->SetEnabled(false);
  clearSearchTimer.SetInterval(50);
  clearPathTimer.SetInterval(50);
  startTimer.SetInterval(500);
  fd.NewDialogStyle = true;
  fd.EditBox = false;
}

void TForm1::PlaceForm() {
  const RECT Client = ClientRect();
  const int Band = ScaleValue(BandHeight), Status = ScaleValue(StatusHeight);
  tpContainer2.SetBounds(0, 0, Client.right, Band);
  flist.SetBounds(0, Band, Client.right, std::max(0, int(Client.bottom) - Band - Status));
  StatusBar1.SetBounds(0, Client.bottom - Status, Client.right, Status);
  PlaceBand();
}

// The search bar and the criteria panel stretch with the band; the help bar keeps to its right edge.
void TForm1::PlaceBand() {
  const RECT Area = tpContainer2.ChildArea();
  const int HelpLeft = Area.right - ScaleValue(HelpBarWidth + HelpBarMargin);
  tpPaneBar3.SetBounds(HelpLeft, Area.top, ScaleValue(HelpBarWidth), tpPaneBar3.Height());
  const int Width = std::max(0, HelpLeft - ScaleValue(PaneGap) - int(Area.left));
  tpPaneBar1.SetBounds(Area.left, Area.top, Width, tpPaneBar1.Height());
  tpContainer3.SetBounds(Area.left, Area.top + ScaleValue(SearchBarHeight), Width, ScaleValue(CriteriaHeight));
}

// The fields on the left keep their distance to the panel's left edge; everything from "File Size:"
// on keeps its distance to the right edge.
void TForm1::PlaceCriteria() {
  const int Shift = tpContainer3.Width() - ScaleValue(CriteriaDesignWidth);
  const std::pair<TWinControl*, int> Anchored[] = {{&sc_size, 240}, {&sztp, 310},        {&edit1, 394},
                                                   {&Label3, 462},  {&sc_modified, 240}, {&stdate, 310},
                                                   {&nddate, 394},  {&Button1, 400}};
  for (const auto& [Control, DesignLeft] : Anchored) Control->SetLeft(ScaleValue(DesignLeft) + Shift);
}
