#include "app/MainForm.h"

#include "app/HelpLinks.h"
#include "app/Histories.h"
#include "search/SearchFolders.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

namespace {

// The hourglass for the length of a scope.
class TBusyCursor {
 public:
  TBusyCursor() { Screen().SetCursor(crHourGlass); }
  ~TBusyCursor() { Screen().SetCursor(crDefault); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

TForm1::TForm1(const TMainFormSetup& Setup)
    : DeleteRecycle(ActionList1.Add("DeleteRecycle", "Delete", VK_DELETE)),
      DeletePermanent(ActionList1.Add("DeletePermanent", "Delete Permanently", scShift | VK_DELETE)),
      FSettingsFolder(Setup.SettingsFolder),
      FCommandLine(ParseCommandLine(Setup.Arguments)),
      FFileSystem(Setup.FileSystem),
      FClock(Setup.Clock),
      FShell(Setup.Shell),
      FCache(*Setup.FileSystem) {
  Name = "Form1";
  SetCaption(MainCaption);
  Position = poScreenCenter;
  MinWidth = 680;
  SetBounds(0, 0, 690, 543);
  Font().SetName("Tahoma");
  Font().SetHeight(-11);
  BuildBand();
  BuildCriteria();
  BuildGrid();
  LoadImages();
  BuildStatusBar();
  BuildCommands();
  BuildShellCommands();
  ConnectEvents();
  FormCreate();
}

TForm1::~TForm1() { FormDestroy(); }

void TForm1::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ClassName = L"TForm1";
}

void TForm1::CreateWnd() {
  TForm::CreateWnd();  // scales the window for its monitor's density
  if (Position == poDesigned) FitIntoWorkArea();
  PlaceForm();
  NamedHint.SetText(NamedHintText);
  for (HWND Part : {search.Handle(), search.EditHandle()}) NamedHint.Add(Part);
}

// A window closed at a lower density or on a larger screen would reach past the monitor it lands on
// now: it is moved into the monitor's work area, and shrunk only where it is larger.
void TForm1::FitIntoWorkArea() {
  const RECT Place = BoundsRect();
  MONITORINFO Monitor{};
  Monitor.cbSize = sizeof Monitor;
  const HMONITOR Landed = MonitorFromRect(&Place, MONITOR_DEFAULTTONULL);
  if (!Landed || !GetMonitorInfoW(Landed, &Monitor)) return;
  const RECT& Work = Monitor.rcWork;
  const TWindowBounds Fitted = FitIntoArea({Left(), Top(), Width(), Height()},
                                           {Work.left, Work.top, Work.right - Work.left, Work.bottom - Work.top});
  SetBounds(Fitted.Left, Fitted.Top, Fitted.Width, Fitted.Height);
}

void TForm1::Resize() {
  TForm::Resize();
  if (HandleAllocated()) PlaceForm();
}

void TForm1::ChangeScale(int M, int D) {
  TForm::ChangeScale(M, D);
  LoadImages();
  PlaceForm();
  Invalidate();
}

void TForm1::ConnectEvents() {
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
  startTimer.OnTimer = [this](TObject* Sender) { startTimerTimer(Sender); };
  cacheTimer.OnTimer = [this](TObject* Sender) { cacheTimerTimer(Sender); };
  clearSearchTimer.OnTimer = [this](TObject* Sender) { clearSearchTimerTimer(Sender); };
  clearPathTimer.OnTimer = [this](TObject* Sender) { clearPathTimerTimer(Sender); };
  for (TWinControl* Field : std::initializer_list<TWinControl*>{&search, &path, &contains, &edit1})
    Field->OnKeyPress = [this](TObject* Sender, wchar_t& Key) { searchKeyPress(Sender, Key); };
  search.OnSelect = [this](TObject* Sender) { searchSelect(Sender); };
  path.OnSelect = [this](TObject* Sender) { pathSelect(Sender); };
  Button1.OnClick = [this](TObject* Sender) { Button1Click(Sender); };
  Button4.OnClick = [this](TObject* Sender) { Button2Click(Sender); };
  flist.OnDblClick = [this](TObject* Sender) { Open1Click(Sender); };
  flist.OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) { flistKeyDown(Sender, Key, Shift); };
  tpPaneBar3.OnItemClick = [this](TObject* Sender, TtpPaneBarItem* Item) { tpPaneBar3ItemClick(Sender, Item); };
  FCommands.OnConfirm = [this](const std::string& Question) {
    return AskYesCancel(HandleAllocated() ? Handle() : nullptr, MainCaption, Question);
  };
  FCommands.OnReport = [this](const std::string& Text) { ShowMessage(Text); };
}

void TForm1::FormCreate() {
  stdate.SetDate(FClock->Today());
  nddate.SetDate(FClock->Today());
  // The progress bar sits in the status bar's first panel.
  prg.SetBounds(2, 3, StatusBar1.Panel(0).Width - 4, 17);
  LoadLayout();
  try {
    LoadCache();
    ApplyArguments();
    UpdateHistories("", "");
    if (FCommandLine.StartsSearch()) startTimer.SetEnabled(true);
  } catch (const std::exception& Error) {
    // The window still opens, with what was set up so far.
    Application().HandleException(Error);
  }
}

void TForm1::LoadCache() {
  // A large cache takes seconds to read: the window shows itself and answers meanwhile, and a search
  // started before the end waits for it.
  FLoader = std::make_unique<TCacheLoader>(FCache, FSettingsFolder + SearchCacheFileName);
  cacheTimer.SetInterval(50);
  cacheTimer.SetEnabled(true);
}

void TForm1::cacheTimerTimer(TObject*) {
  if (FLoader && FLoader->Done()) CacheLoaded();
}

bool TForm1::CacheReady(unsigned Milliseconds) {
  if (FLoader && !FLoader->Wait(Milliseconds)) {
    Application().ProcessMessages();
    return false;
  }
  if (FLoader) CacheLoaded();
  return true;
}

void TForm1::CacheLoaded() {
  cacheTimer.SetEnabled(false);
  const std::unique_ptr<TCacheLoader> Loader = std::move(FLoader);
  if (!Loader) return;
  Loader->Stop();  // over already: this only joins the thread
  FCacheSavable = Loader->Complete();
  if (!Loader->Error().empty()) {
    Application().HandleException(EFileError(Loader->Error()));
  } else if (FCache.LostBytes()) {
    StatusBar1.SetPanelText(3, "Search cache damaged (" + FCache.Damage() + "): the file will be kept as " +
                                   SearchCacheFileName + DamagedCacheSuffix);
  }
}

void TForm1::SaveCache() {
  if (FLoader) {
    if (!FLoader->Done()) {
      FLoader->Stop();  // a cache loaded in part must not replace the file
      FCacheSavable = false;
    }
    CacheLoaded();
  }
  if (!FCacheSavable || !FCache.Changed()) return;
  // Saving a large changed cache takes a moment: the window is gone meanwhile.
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  TBusyCursor Busy;
  FCache.SaveCache(FSettingsFolder + SearchCacheFileName);
}

void TForm1::LoadLayout() {
  TColumns& Columns = flist.Model().Columns();
  const TWindowLayout Layout = ReadWindowLayout(FSettingsFolder + LayoutFile, Columns.Count(), MinWidth, *FFileSystem);
  if (Layout.Bounds) {
    const TWindowBounds& B = *Layout.Bounds;
    // The file keeps sizes at 96 pixels per inch and the place in screen pixels.
    SetBounds(B.Left, B.Top, ScaleValue(B.Width), ScaleValue(B.Height));
    // A place on a monitor that is no longer there: the size is kept, the window centred.
    const RECT Place{B.Left, B.Top, B.Left + B.Width, B.Top + B.Height};
    Position = MonitorFromRect(&Place, MONITOR_DEFAULTTONULL) ? poDesigned : poScreenCenter;
  }
  WindowState = Layout.Maximized ? wsMaximized : wsNormal;
  for (std::size_t Place = 0; Place < Layout.ColumnOrder.size(); ++Place)
    Columns.Items(Layout.ColumnOrder[Place])->SetPosition(static_cast<int>(Place));
  for (std::size_t Index = 0; Index < Layout.ColumnWidths.size(); ++Index)
    Columns.Items(static_cast<int>(Index))->SetWidth(ScaleValue(Layout.ColumnWidths[Index]));
  if (Layout.SortColumn >= 0) {
    TCustomColumn* Sorted = Columns.Items(Layout.SortColumn);
    Sorted->SetSortKind(Layout.SortDescending ? skDescending : skAscending);
    Sorted->SetSorted(true);
  }
  FLoadedLayout = Layout;
}

TWindowLayout TForm1::CurrentLayout() {
  TWindowLayout Layout = FLoadedLayout;
  WINDOWPLACEMENT Placement{};
  Placement.length = sizeof Placement;
  if (HandleAllocated() && GetWindowPlacement(Handle(), &Placement)) {
    // The placement's restored bounds are in work-area coordinates; the layout keeps screen ones.
    MONITORINFO Monitor{};
    Monitor.cbSize = sizeof Monitor;
    GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &Monitor);
    const RECT& R = Placement.rcNormalPosition;
    const int DX = Monitor.rcWork.left - Monitor.rcMonitor.left, DY = Monitor.rcWork.top - Monitor.rcMonitor.top;
    Layout.Bounds =
        TWindowBounds{R.left + DX, R.top + DY, UnscaleValue(R.right - R.left), UnscaleValue(R.bottom - R.top)};
    Layout.Maximized = IsZoomed(Handle()) != 0;
  }
  const TColumns& Columns = flist.Model().Columns();
  Layout.ColumnOrder.clear();
  Layout.ColumnWidths.clear();
  Layout.SortColumn = -1;
  for (int Place = 0; Place < Columns.Count(); ++Place)
    Layout.ColumnOrder.push_back(Columns.DisplayItems(Place)->Index());
  for (int Index = 0; Index < Columns.Count(); ++Index) {
    const TCustomColumn* Column = Columns.Items(Index);
    Layout.ColumnWidths.push_back(UnscaleValue(Column->Width()));
    if (Column->Sorted()) {
      Layout.SortColumn = Index;
      Layout.SortDescending = Column->SortKind() == skDescending;
    }
  }
  return Layout;
}

void TForm1::SaveLayout() {
  // A window never shown has no layout of the user's; one that did not change costs no disk write.
  if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
  const TWindowLayout Layout = CurrentLayout();
  if (Layout == FLoadedLayout && FFileSystem->FileExists(FSettingsFolder + LayoutFile)) return;
  WriteWindowLayout(FSettingsFolder + LayoutFile, Layout, *FFileSystem);
}

void TForm1::ApplyArguments() {
  if (!FCommandLine.Field(0).empty()) path.SetText(FCommandLine.Field(0));
  if (!FCommandLine.Field(1).empty()) search.SetText(FCommandLine.Field(1));
  if (!FCommandLine.Field(2).empty()) contains.SetText(FCommandLine.Field(2));
}

void TForm1::FormShow(TObject*) {
  if (search.CanFocus()) search.SetFocus();
}

void TForm1::FormCloseQuery(TObject*, bool&) {
  // A running search takes the disabled button as its cancel request, finishes its closing steps,
  // and the window goes once the message loop sees the quit request.
  if (Button1.Enabled()) Button1.SetEnabled(false);
}

void TForm1::FormDestroy() {
  // Each save is tried whatever became of the other; what failed is told in one box, each file with
  // its reason, before the window goes.
  std::string Failures;
  for (void (TForm1::*Save)() : {&TForm1::SaveLayout, &TForm1::SaveCache}) {
    try {
      (this->*Save)();
    } catch (const std::exception& Error) {
      Failures += std::string("\n\n") + Error.what();
    }
  }
  if (!Failures.empty()) ShowMessage(SavesFailedText + Failures);
}

void TForm1::startTimerTimer(TObject*) {
  startTimer.SetEnabled(false);
  Button1Click(&Button1);
}

bool TForm1::EscapeKey() {
  if (Button1.Tag < 1) return false;
  if (Button1.Enabled()) Button1Click(&Button1);
  return true;
}

void TForm1::searchKeyPress(TObject*, wchar_t& Key) {
  if (Key != L'\r') return;
  Key = 0;  // taken: no beep from the field
  Button1Click(&Button1);
}

void TForm1::Button2Click(TObject*) {
  // Several folders in "Look in:": the picker starts at the first, and the one picked replaces them all.
  const TSearchFolders Folders = SplitSearchFolders(path.Text(), *FFileSystem);
  fd.Path = Folders.Folders.empty() ? path.Text() : Folders.Folders.front();
  if (fd.Execute()) path.SetText(fd.Path);
}

void TForm1::searchSelect(TObject*) {
  // A selection raised while this handler runs is ignored.
  if (Label5.Tag == 1) return;
  Label5.Tag = 1;
  struct TTagReset {
    TLabel& Label;
    ~TTagReset() { Label.Tag = 0; }
  } Reset{Label5};
  if (search.Text() == ClearHistoryText) {
    search.SetText("");
    clearSearchTimer.SetEnabled(true);
  }
}

void TForm1::pathSelect(TObject*) {
  if (path.Text() == ClearHistoryText) {
    path.SetText("");
    clearPathTimer.SetEnabled(true);
  }
}

// The items go here, after the selection has been handled, never inside the selection handler.
void TForm1::clearSearchTimerTimer(TObject*) {
  clearSearchTimer.SetEnabled(false);
  search.ClearItems();
  // The box puts the chosen item's text back once its selection notice is over.
  if (search.Text() == ClearHistoryText) search.SetText("");
  UpdateHistories(ClearHistoryText, "");
}

void TForm1::clearPathTimerTimer(TObject*) {
  clearPathTimer.SetEnabled(false);
  path.ClearItems();
  if (path.Text() == ClearHistoryText) path.SetText("");
  UpdateHistories("", ClearHistoryText);
}

void TForm1::UpdateHistories(const std::string& Name, const std::string& Folder) {
  UpdateHistory(NameHistoryFile, search, Name);
  UpdateHistory(FolderHistoryFile, path, Folder);
}

void TForm1::UpdateHistory(const std::string& FileName, TComboBox& Box, const std::string& Text) {
  // A file that cannot be read or written is reported, and its box keeps its items; the other
  // history and the rest of a search's closing steps still happen.
  try {
    Box.SetItems(::UpdateHistory(FSettingsFolder + FileName, Text, *FFileSystem));
  } catch (const EFileError& Error) {
    Application().HandleException(Error);
  }
}

void TForm1::Open1Click(TObject*) { FCommands.Open(); }
void TForm1::Explore1Click(TObject*) { FCommands.Explore(); }
void TForm1::DeleteRecycleExecute(TObject*) { FCommands.DeleteSelected(false); }
void TForm1::DeletePermanentExecute(TObject*) { FCommands.DeleteSelected(true); }
void TForm1::CopyPathExecute(TObject*) { FCommands.CopyPaths(); }

void TForm1::ExportResultsExecute(TObject*) {
  std::string FileName = "Search Results.csv";
  const bool Chosen = OnPromptExportFile ? OnPromptExportFile(FileName)
                                         : PromptForSaveFileName(Handle(), "Export Results",
                                                                 {{"CSV Files (*.csv)", "*.csv"}, {"All Files", "*.*"}},
                                                                 "csv", FileName);
  if (!Chosen) return;
  TBusyCursor Busy;
  FCommands.ExportResults(FileName);  // a failure reaches the general error report
}

void TForm1::SearchAgainExecute(TObject*) {
  if (RunState() == rsIdle) Button1Click(&Button1);
}

void TForm1::flistKeyDown(TObject* Sender, WORD& Key, TShiftState) {
  if (Key != VK_RETURN) return;
  Open1Click(Sender);
  Key = 0;
}

void TForm1::tpPaneBar3ItemClick(TObject*, TtpPaneBarItem* Item) {
  const int Index = Item ? Item->Index() : -1;
  if (Index >= 0 && Index < HelpLinkCount) OpenHelpLink(*FShell, THelpLink(Index), Handle());
}
