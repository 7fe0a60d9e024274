// torvane-panes-demo: the main window's top band on its own, so the task-pane controls can be seen,
// hovered, clicked and rolled before the main window exists.
//   torvane-panes-demo [--collapse] [--hot N] [--exit-while-rolling]
//     --collapse            rolls both bars up once the window shows
//     --hot N               moves the mouse pointer onto link N (0-3) of "Help & Support"
//     --exit-while-rolling  starts both rolls and closes the window in the middle of them (exit code 0)
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "taskpane/tpContainer.h"
#include "taskpane/tpPaneBar.h"
#include "toolkit/Application.h"
#include "toolkit/Forms.h"
#include "toolkit/ImageList.h"
#include "toolkit/Timer.h"

namespace {

constexpr TColor BandColor = 14319721, BandLine = 10042918, CriteriaColor = 16244694, LinkColor = 15159552;

void SetFont(TFont& Font, int Height, TFontStyles Style) {
  Font.SetName("Tahoma");
  Font.SetHeight(Height);
  Font.SetStyle(Style);
  Font.SetColor(LinkColor);
}

class TPanesDemo : public TForm {
 public:
  TPanesDemo()
      : tpContainer2(this),
        tpPaneBar1(&tpContainer2),
        tpContainer3(&tpContainer2),
        tpPaneBar3(&tpContainer2),
        Status(this),
        ImageList1(24, 24) {
    SetCaption("Torvane Panes Demo");
    SetBounds(0, 0, 690, 543);
    Position = poScreenCenter;
    MinWidth = 680;

    tpContainer2.SetColor(BandColor);
    tpContainer2.SetBoundLines(blRight);
    tpContainer2.SetBoundColor(BandLine);
    tpContainer2.SetBorderWidth(4);
    tpContainer2.OnAlignChildren = [this](TObject*) { PlaceBand(); };

    tpPaneBar1.SetParentFont(false);
    tpPaneBar1.SetCaption("File & Folder Search");
    SetFont(tpPaneBar1.Font(), -13, 0);
    SetFont(tpPaneBar1.HeaderFont(), -11, fsBold);
    tpPaneBar1.Icon().LoadFromResourceName(GetModuleHandleW(nullptr), "TPFOLDERICON", 32);

    tpContainer3.SetColor(CriteriaColor);
    tpContainer3.SetBoundLines(blLeft | blRight | blBottom);
    tpContainer3.SetBoundColor(clWhite);
    tpContainer3.OnPaint = [this](TObject*, RECT& Rect, TCanvas& Canvas, TFont&) { PaintCriteria(Rect, Canvas); };

    ImageList1.AddResource(GetModuleHandleW(nullptr), "TPHELPIMAGE", clFuchsia);
    tpPaneBar3.SetParentFont(false);
    tpPaneBar3.SetCaption("Help & Support");
    SetFont(tpPaneBar3.Font(), -11, 0);
    SetFont(tpPaneBar3.HeaderFont(), -11, fsBold);
    tpPaneBar3.Icon().LoadFromResourceName(GetModuleHandleW(nullptr), "TPHELPICON", 32);
    tpPaneBar3.SetImageList(&ImageList1);
    for (const char* Caption : {"Torvane Web Site", "Support Forum", "Check for Updates", "Online Help"})
      tpPaneBar3.Items().Add().SetCaption(Caption);
    tpPaneBar3.OnItemClick = [this](TObject*, TtpPaneBarItem* Item) { Report("Clicked: " + Item->Caption()); };

    Status.SetColor(clWhite);
    Status.SetBoundLines(blTop);
    Status.SetAlignment(taLeftJustify);
    Status.SetShowCaption(true);
    Status.SetCaption("Hover a link, click a header to roll its bar.");
    OnResize = [this](TObject*) { PlaceForm(); };
  }

  void Report(const std::string& Text) { Status.SetCaption(Text); }
  TtpPaneBar& HelpBar() { return tpPaneBar3; }
  TtpPaneBar& SearchBar() { return tpPaneBar1; }

 protected:
  void CreateWnd() override {
    TForm::CreateWnd();
    PlaceForm();
  }

 private:
  void PlaceForm() {
    const RECT Client = ClientRect();
    tpContainer2.SetBounds(0, 0, Client.right, 136);
    Status.SetBounds(0, Client.bottom - 24, Client.right, 24);
    PlaceBand();
  }
  // The bars and the criteria panel keep their distances to the band's edges, as anchored at design size.
  void PlaceBand() {
    const RECT Area = tpContainer2.ChildArea();
    const int HelpLeft = Area.right - 185;
    tpPaneBar3.SetBounds(HelpLeft, Area.top, 184, tpPaneBar3.Height());
    tpPaneBar1.SetBounds(Area.left, Area.top, HelpLeft - 6 - Area.left, tpPaneBar1.Height());
    tpContainer3.SetBounds(Area.left, 39, HelpLeft - 6 - Area.left, 88);
  }
  // The criteria fields come with the main window; here their labels and boxes mark their places.
  void PaintCriteria(const RECT& Rect, TCanvas& Canvas) {
    Canvas.Font().SetName("Tahoma");
    Canvas.Font().SetHeight(-11);
    Canvas.Font().SetColor(clBlack);
    Canvas.SetTextTransparent(true);
    const int Right = Rect.right;
    struct TLabel {
      int X, Y;
      const char* Text;
    };
    const TLabel Labels[] = {{10, 8, "Named:"}, {10, 36, "Look i&n:"}, {10, 64, "&With text:"}};
    for (const TLabel& Label : Labels) {
      RECT Box = {Label.X, Label.Y, Label.X + 60, Label.Y + 16};
      Canvas.DrawText(std::string(Label.Text), Box, DT_SINGLELINE);
    }
    const RECT Fields[] = {{64, 4, 229, 25}, {64, 32, 205, 53}, {64, 60, 225, 81}, {Right - 88, 4, Right - 23, 25}};
    Canvas.Brush().SetColor(clWhite);
    Canvas.Pen().SetColor(RGBColor(127, 157, 185));
    for (const RECT& Field : Fields) Canvas.Rectangle(Field);
    RECT Kb = {Right - 20, 8, Right, 24};
    Canvas.DrawText(std::string("KB"), Kb, DT_SINGLELINE);
  }

  TtpContainer tpContainer2;
  TtpPaneBar tpPaneBar1;
  TtpContainer tpContainer3;
  TtpPaneBar tpPaneBar3;
  TtpContainer Status;
  TImageList ImageList1;
};

// Puts the pointer over link Index of the bar, so the bar sees a real mouse move.
void PointAtItem(TtpPaneBar& Bar, int Index) {
  RECT Rect;
  Bar.GetItemRect(Index, Rect);
  const POINT Client = {Rect.left + 40, Rect.top + 10};
  const POINT Screen = Bar.ClientToScreen(Client);
  SetCursorPos(Screen.x, Screen.y);
  // A virtual display may not report the jump as a move: the bar hears of it as the system would tell it.
  PostMessageW(Bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(Client.x, Client.y));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  InstallPlatformServices();
  Application().Initialize();
  Application().SetTitle("Torvane Panes Demo");
  int Count = 0;
  LPWSTR* Arguments = CommandLineToArgvW(GetCommandLineW(), &Count);
  bool Collapse = false, ExitWhileRolling = false, ClosedWhileRolling = false;
  int Hot = -1;
  for (int I = 1; I < Count; ++I) {
    const std::wstring Argument = Arguments[I];
    if (Argument == L"--collapse") Collapse = true;
    if (Argument == L"--exit-while-rolling") ExitWhileRolling = true;
    if (Argument == L"--hot" && I + 1 < Count) Hot = _wtoi(Arguments[++I]);
  }
  LocalFree(Arguments);
  try {
    TPanesDemo Demo;
    SendMessageW(Demo.Handle(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON")));
    TTimer Start;
    Start.SetInterval(300);
    bool Started = false;
    Start.OnTimer = [&](TObject*) {
      // The pointer is put back on the link until the bar shows it hot (a virtual display may move it late).
      if (Started) {
        TtpPaneBar& Bar = Demo.HelpBar();
        if (Hot >= 0 && (Bar.HotItem() != Hot || !(Bar.DrawState() & dsHighlight))) PointAtItem(Bar, Hot);
        return;
      }
      Started = true;
      if (Hot < 0) Start.SetEnabled(false);
      if (Collapse || ExitWhileRolling) {
        Demo.SearchBar().SetCollapsed(true);
        Demo.HelpBar().SetCollapsed(true);
      }
      if (ExitWhileRolling) {
        // Two or three steps in, the window closes: the rolls must end with it, cleanly.
        Sleep(60);
        Application().ProcessMessages();
        ClosedWhileRolling = Demo.HelpBar().RollRunning() && Demo.SearchBar().RollRunning();
        Demo.Close();
      }
      if (Hot >= 0) PointAtItem(Demo.HelpBar(), Hot);
    };
    Application().Run(Demo);
  } catch (const std::exception& Error) {
    Application().HandleException(Error);
    return 1;
  }
  // The exit test is only worth something when the rolls were still running as the window closed.
  if (ExitWhileRolling && !ClosedWhileRolling) return 2;
  return 0;
}
