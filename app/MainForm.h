#pragma once
// The main window: the criteria band at the top, the results grid, the status bar. The window builds
// and lays out its controls and routes their events; the search, the histories and the result rows
// live in their own units. A search's own rules are TWindowSearch's: the window hands it the criteria
// and its controls, and the results go to the grid's store.
#include <functional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/ResultCommands.h"
#include "app/ResultGrid.h"
#include "app/WindowLayout.h"
#include "app/WindowSearch.h"
#include "core/SettingsFolder.h"
#include "folderpicker/BrwsFldr.h"
#include "gridview/win32/control/GridView.h"
#include "platform/Platform.h"
#include "platform/win32/Shell.h"
#include "search/CacheLoader.h"
#include "search/SearchCache.h"
#include "taskpane/tpContainer.h"
#include "taskpane/tpPaneBar.h"
#include "toolkit/Actions.h"
#include "toolkit/ComCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/Timer.h"

inline constexpr const char* MainCaption = "Torvane Search";
// The "Named:" field's tip: the mask language in one line.
inline constexpr const char* NamedHintText =
    "* any text, ? one character, [a-z] a range, (abc) a set, !c not c, #c c itself: photo #(1) finds "
    "\"photo (1)\"";
// The head of the one report of the saves that failed as the window closed.
inline constexpr const char* SavesFailedText =
    "Torvane Search could not save these files as it closed; what they would have kept is lost:";

// What the window is started with. Tests give their own folder and services.
struct TMainFormSetup {
  // The folder of the settings files ("search.cache" and the histories), ending in a separator.
  std::string SettingsFolder = ProgramSettingsPlace().Folder;
  // The command-line arguments after the program's name: folder, name, text, and the switches of
  // ParseCommandLine.
  std::vector<std::string> Arguments;
  TFileSystem* FileSystem = &PlatformFileSystem();
  TClock* Clock = &PlatformClock();
  TShell* Shell = &PlatformShell();
};

class TForm1 : public TForm, public TSearchWindow {
 public:
  explicit TForm1(const TMainFormSetup& Setup = TMainFormSetup());
  ~TForm1() override;

  // Controls, in creation order, which is the tab order inside each parent.
  TtpContainer tpContainer2{this};
  TtpPaneBar tpPaneBar1{&tpContainer2};
  TtpContainer tpContainer3{&tpContainer2};
  TLabel Label5{&tpContainer3};  // "Named:"
  TComboBox search{&tpContainer3};
  TLabel Label2{&tpContainer3};  // "&With text:"
  TEdit contains{&tpContainer3};
  TLabel Label1{&tpContainer3};  // "Look i&n:"
  TComboBox path{&tpContainer3};
  TButton Button4{&tpContainer3};
  TCheckBox sc_size{&tpContainer3};
  TComboBox sztp{&tpContainer3, csDropDownList};
  TEdit edit1{&tpContainer3};
  TLabel Label3{&tpContainer3};  // "KB"
  TCheckBox sc_modified{&tpContainer3};
  TDateTimePicker stdate{&tpContainer3};
  TDateTimePicker nddate{&tpContainer3};
  TButton Button1{&tpContainer3};
  TtpPaneBar tpPaneBar3{&tpContainer2};
  TGridView flist{this};
  TStatusBar StatusBar1{this};
  TProgressBar prg{&StatusBar1};

  TImageList ImageList1{24, 24};
  TImageList ImageList2{16, 16};
  TPopupMenu PopupMenu1;
  TActionList ActionList1{*this};
  TAction& DeleteRecycle;
  TAction& DeletePermanent;
  TTimer clearSearchTimer;
  TTimer clearPathTimer;
  TTimer startTimer;
  TTimer cacheTimer;  // watches the search cache's load
  TBrowseForFolder fd;
  // After the controls, so that it goes before them.
  TToolTip NamedHint;

  // The images are drawn again for the new density and the controls placed again.
  void ChangeScale(int M, int D) override;

  // Event handlers.
  void FormCreate();
  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormDestroy();
  void startTimerTimer(TObject* Sender);
  void cacheTimerTimer(TObject* Sender);
  void searchKeyPress(TObject* Sender, wchar_t& Key);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void searchSelect(TObject* Sender);
  void pathSelect(TObject* Sender);
  void clearSearchTimerTimer(TObject* Sender);
  void clearPathTimerTimer(TObject* Sender);
  // The result commands (their rules live in TResultCommands) and the help links.
  void Open1Click(TObject* Sender);
  void Explore1Click(TObject* Sender);
  void DeleteRecycleExecute(TObject* Sender);
  void DeletePermanentExecute(TObject* Sender);
  void CopyPathExecute(TObject* Sender);
  void ExportResultsExecute(TObject* Sender);
  void SearchAgainExecute(TObject* Sender);
  void flistKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void tpPaneBar3ItemClick(TObject* Sender, TtpPaneBarItem* Item);
  // The shell's side of the results (MainFormShell.cpp): "Open With...", "Properties", the rows
  // dragged out of the grid, and the shell's own menu of the selected rows at a screen point (false
  // when the shell has none for them).
  void OpenWith1Click(TObject* Sender);
  void Properties1Click(TObject* Sender);
  void flistDragOut(TObject* Sender);
  bool ShowShellMenu(int ScreenX, int ScreenY);
  TResultCommands& Commands() { return FCommands; }
  // Replaces the save dialog of "Export Results..." (tests give the file name); false for Cancel.
  std::function<bool(std::string& FileName)> OnPromptExportFile;

  // Records the texts in the two histories and reloads both drop-downs.
  void UpdateHistories(const std::string& Name, const std::string& Folder);
  void UpdateHistory(const std::string& FileName, TComboBox& Box, const std::string& Text);
  // The search cache; while it still loads (CacheReady false) it is the loading thread's.
  TSearchCache& Cache() { return FCache; }
  bool CacheReady(unsigned Milliseconds) override;
  const std::string& SettingsFolder() const { return FSettingsFolder; }
  // Replaces the message box of ShowMessage (tests record the texts).
  std::function<void(const std::string& Text)> OnShowMessage;
  void ShowMessage(const std::string& Text) override;

  // What a search needs of the controls (MainFormSearch.cpp).
  TSearchCriteria Criteria() override;
  void ShowNameText(const std::string& Text) override;
  // The run state lives in the search button: its tag is 1 during a run, and a disabled button
  // during a run is a cancel request.
  TRunState RunState() override;
  void SetRunState(TRunState State) override;
  void SetStatus(const std::string& Text, int Panel) override;
  void ChangeProgress(TProgressChange Change, int Position) override;
  void ProcessMessages() override;
  void RunEnded(bool Completed) override;
  // Where a search's rows go: the grid.
  virtual TResultSink& Results() { return FResults; }

  // The walk pumps messages at most this often (milliseconds); status changes always pump.
  static constexpr unsigned PumpBudget = 20;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Escape cancels a running search, as a second press of "Search" does.
  bool EscapeKey() override;
  void Resize() override;

 private:
  // MainFormLayout.cpp: the controls' looks, texts, defaults and places.
  void BuildBand();
  void BuildCriteria();
  void LoadImages();
  void BuildGrid();
  void BuildStatusBar();
  void BuildCommands();
  void BuildShellCommands();
  void PlaceForm();
  void PlaceBand();
  void PlaceCriteria();
  void ConnectEvents();
  void LoadCache();
  // The end of the cache's load, on this thread: a failure is reported, damage is shown.
  void CacheLoaded();
  void SaveCache();
  void ApplyArguments();
  // The window's place and the grid's columns as the user left them, and as they are now.
  void LoadLayout();
  void FitIntoWorkArea();
  void SaveLayout();
  TWindowLayout CurrentLayout();

  std::string FSettingsFolder;
  TWindowLayout FLoadedLayout;
  TCommandLine FCommandLine;
  TFileSystem* FFileSystem;
  TClock* FClock;
  TShell* FShell;
  TSearchCache FCache;
  std::unique_ptr<TCacheLoader> FLoader;
  // A cache that was not read whole (the file could not be read, or the window closed while it loaded)
  // is never saved: the file would lose the paths it was not given.
  bool FCacheSavable = true;
  TResultGrid FResults{flist.Model(), FormatSettings()};
  TGridResultRows FResultRows{FResults};
  TResultCommands FCommands{FResultRows, *FShell, *FFileSystem};
  TWindowSearch FSearch{*this, FCache, *FFileSystem, *FClock, FormatSettings()};
  // The grid's menu: the shell's own with Shift held, else PopupMenu1.
  class TResultsMenu : public TContextMenu {
   public:
    explicit TResultsMenu(TForm1& Form) : FForm(Form) {}
    void PopupFor(TWinControl& Control, int ScreenX, int ScreenY) override;

   private:
    TForm1& FForm;
  } FResultsMenu{*this};
};
