#include "PaneTestSupport.h"
#include "taskpane/tpContainer.h"
#include "taskpane/tpPaneBar.h"
#include "toolkit/Actions.h"

using namespace PaneTest;

namespace {

const TColor LinkColor = 15159552, HotColor = 16743477, Background = 16244694;

struct tpPaneBarTest : FormTest {
  tpPaneBarTest() : Band(&Form), Bar(&Band) {}
  void SetUp() override {
    FormTest::SetUp();
    Band.SetBounds(0, 0, 682, 136);
    Band.SetColor(14319721);
    Bar.SetBounds(492, 4, 184, 123);
    Bar.SetCaption("Help & Support");
    for (const char* Caption : {"Torvane Web Site", "Support Forum", "Check for Updates", "Online Help"})
      Bar.Items().Add().SetCaption(Caption);
  }
  // Windows for the bar; off the screen, as mouse messages go straight to it (a shown window costs
  // seconds to take down under Wine without a window manager).
  void MakeWindows() { Form.HandleNeeded(); }
  void MoveTo(int X, int Y) { Bar.Perform(WM_MOUSEMOVE, 0, At(X, Y)); }
  void ClickAt(int X, int Y) {
    MoveTo(X, Y);
    Bar.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(X, Y));
    Bar.Perform(WM_LBUTTONUP, 0, At(X, Y));
  }
  // Ink of a colour in the item row Index (20 pixels from y = 39 + 20 * Index).
  int RowColor(TBitmap& Bitmap, int Index, TColor Color) {
    return CountColor(Bitmap, RECT{3, 39 + 20 * Index, 176, 59 + 20 * Index}, Rgb(Color));
  }
  TtpContainer Band;
  TtpPaneBar Bar;
};

}  // namespace

TEST_F(tpPaneBarTest, HeightFollowsTheVisibleItems) {
  EXPECT_EQ(Bar.Height(), 123);
  TtpPaneBar Empty(&Band);
  Empty.SetBounds(4, 4, 482, 35);
  EXPECT_EQ(Empty.Height(), 35);
  Empty.SetHeight(60);  // a bar sizes itself
  EXPECT_EQ(Empty.Height(), 35);
  // Hiding an item closes the gap at once.
  Bar.Items()[1]->SetVisible(false);
  EXPECT_EQ(Bar.Height(), 103);
  EXPECT_EQ(Bar.VisibleItems().Items(1), Bar.Items()[2]);
  Bar.Items()[1]->SetVisible(true);
  EXPECT_EQ(Bar.VisibleItems().Items(1), Bar.Items()[1]);
  Bar.Items().Delete(0);
  EXPECT_EQ(Bar.Height(), 103);
  Bar.SetItemHeight(30);
  EXPECT_EQ(Bar.Height(), 3 * 30 + 43);
}

TEST_F(tpPaneBarTest, HidingAnItemRepaintsTheRowsThatMoveUp) {
  Form.Show();  // only a window on the screen collects what needs repainting
  PumpFor(50);
  ValidateRect(Bar.Handle(), nullptr);
  Bar.Items()[1]->SetVisible(false);
  RECT Update = {};
  ASSERT_TRUE(GetUpdateRect(Bar.Handle(), &Update, FALSE));
  EXPECT_LE(Update.top, 59);  // the row the third item moves into
  EXPECT_EQ(Update.bottom, 103);
}

TEST_F(tpPaneBarTest, EmptyBarDrawsTheHeaderBandAndNoItemArea) {
  TtpPaneBar Empty(&Band);
  Empty.SetBounds(4, 4, 482, 35);
  Empty.SetCaption("File & Folder Search");
  auto Bitmap = PaintToBitmap(Empty);
  ASSERT_EQ(Bitmap->Height(), 35);
  // Below the header line at 33 only the white frame's bottom row remains.
  for (int X = 0; X < 482; ++X) ASSERT_EQ(Bitmap->Pixel(X, 34), RGB(255, 255, 255)) << X;
  EXPECT_EQ(Bitmap->Pixel(100, 33), RGB(198, 215, 247));
}

TEST_F(tpPaneBarTest, ItemsAreDrawnInRowsFrom39AndPickedFrom42) {
  std::vector<RECT> Drawn;
  auto Plain = PaintToBitmap(Bar);
  for (int I = 0; I < 4; ++I) {
    EXPECT_GT(RowColor(*Plain, I, LinkColor), 20) << I;
  }
  Bar.OnDrawItem = [&](TObject*, TCanvas&, RECT& Rect, TtpDrawState, TtpPaneBarItem*, TBitmap*) {
    Drawn.push_back(Rect);
  };
  PaintToBitmap(Bar);
  ASSERT_EQ(Drawn.size(), 4u);
  for (int I = 0; I < 4; ++I) {
    EXPECT_EQ(Drawn[I].left, 3);
    EXPECT_EQ(Drawn[I].right, 176);
    EXPECT_EQ(Drawn[I].top, 39 + 20 * I);
    EXPECT_EQ(Drawn[I].bottom, 59 + 20 * I);
  }
  const std::pair<int, int> Picks[] = {{41, -1}, {42, 0},  {61, 0},  {62, 1},  {81, 1},
                                       {82, 2},  {101, 2}, {102, 3}, {115, 3}, {116, -1}};
  for (const auto& [Y, Item] : Picks) EXPECT_EQ(Bar.ItemAt(Y), Item) << "y = " << Y;
}

TEST_F(tpPaneBarTest, RollButtonOccupies160To177And10To27) {
  EXPECT_EQ(Bar.HitZone(159, 15), hzHeader);
  EXPECT_EQ(Bar.HitZone(160, 10), hzRollButton);
  EXPECT_EQ(Bar.HitZone(177, 27), hzRollButton);
  EXPECT_EQ(Bar.HitZone(178, 15), hzHeader);
  EXPECT_EQ(Bar.HitZone(170, 9), hzHeader);
  EXPECT_EQ(Bar.HitZone(170, 28), hzHeader);
  EXPECT_EQ(Bar.HitZone(170, 4), hzNone);
  EXPECT_EQ(Bar.HitZone(20, 33), hzNone);
  auto Bitmap = PaintToBitmap(Bar);
  TBitmap Button;
  ASSERT_TRUE(Button.LoadFromResourceName(GetModuleHandleW(nullptr), "COLLAPSE0"));
  ASSERT_EQ(Button.Width(), 18);
  ASSERT_EQ(Button.Height(), 18);
  EXPECT_EQ(Button.Pixel(0, 0), RGB(206, 223, 247));
  for (int Y = 0; Y < 18; ++Y)
    for (int X = 0; X < 18; ++X) ASSERT_EQ(Bitmap->Pixel(160 + X, 10 + Y), Button.Pixel(X, Y)) << X << "," << Y;
}

TEST_F(tpPaneBarTest, HeaderIsSoftenedAndFramedOverTheParentColour) {
  auto Bitmap = PaintToBitmap(Bar);
  const COLORREF Parent = Rgb(14319721), White = RGB(255, 255, 255);
  EXPECT_EQ(Bitmap->Pixel(0, 5), Parent);
  EXPECT_EQ(Bitmap->Pixel(0, 6), Parent);
  EXPECT_EQ(Bitmap->Pixel(1, 5), Parent);
  EXPECT_EQ(Bitmap->Pixel(183, 5), Parent);
  EXPECT_EQ(Bitmap->Pixel(182, 5), Parent);
  EXPECT_EQ(Bitmap->Pixel(183, 6), Parent);
  EXPECT_EQ(Bitmap->Pixel(1, 6), White);
  EXPECT_EQ(Bitmap->Pixel(182, 6), White);
  EXPECT_EQ(Bitmap->Pixel(0, 60), White);
  EXPECT_EQ(Bitmap->Pixel(183, 60), White);
  EXPECT_EQ(Bitmap->Pixel(90, 122), White);
  EXPECT_EQ(Bitmap->Pixel(90, 33), RGB(198, 215, 247));
  EXPECT_EQ(Bitmap->Pixel(90, 118), Rgb(Background));
  // Above the band, beside the icon, the parent's colour.
  EXPECT_EQ(CountColor(*Bitmap, RECT{40, 0, 184, 5}, Parent), 144 * 5);
}

TEST_F(tpPaneBarTest, NewParentColourShowsInTheCornersAtOnce) {
  Form.Show();  // only a window on the screen collects what needs repainting
  ValidateRect(Bar.Handle(), nullptr);
  // The bar follows its parent's colour (ParentColor), so its own colour changes and it repaints.
  Band.SetColor(clBlue);
  EXPECT_EQ(Bar.Color(), clBlue);
  RECT Update;
  EXPECT_TRUE(GetUpdateRect(Bar.Handle(), &Update, FALSE));
  auto Bitmap = PaintToBitmap(Bar);
  EXPECT_EQ(Bitmap->Pixel(0, 5), RGB(0, 0, 255));
  EXPECT_EQ(Bitmap->Pixel(100, 2), RGB(0, 0, 255));
}

TEST_F(tpPaneBarTest, HoveringAnItemUnderlinesItInTheHotColourAndShowsTheHand) {
  MakeWindows();
  MoveTo(60, 65);
  EXPECT_EQ(Bar.HotItem(), 1);
  EXPECT_EQ(Bar.Cursor(), crHandPoint);
  auto Bitmap = PaintToBitmap(Bar);
  EXPECT_GT(RowColor(*Bitmap, 1, HotColor), 20);
  EXPECT_EQ(RowColor(*Bitmap, 1, LinkColor), 0);
  EXPECT_EQ(RowColor(*Bitmap, 0, HotColor), 0);
  // The underline: a run of hot pixels along one row under the caption.
  int LongestRun = 0;
  for (int Y = 59; Y < 79; ++Y) {
    int Run = 0;
    for (int X = 23; X < 176; ++X) {
      Run = Bitmap->Pixel(X, Y) == Rgb(HotColor) ? Run + 1 : 0;
      LongestRun = std::max(LongestRun, Run);
    }
  }
  EXPECT_GT(LongestRun, 40);
  // Leaving the bar drops the highlight.
  Bar.Perform(WM_MOUSELEAVE);
  Bitmap = PaintToBitmap(Bar);
  EXPECT_EQ(RowColor(*Bitmap, 1, HotColor), 0);
}

TEST_F(tpPaneBarTest, HotHeaderCaptionTakesTheHotColour) {
  MakeWindows();
  auto Before = PaintToBitmap(Bar);
  MoveTo(60, 20);
  EXPECT_EQ(Bar.HotZone(), hzHeader);
  auto After = PaintToBitmap(Bar);
  const RECT Caption = {22, 5, 157, 33};
  EXPECT_EQ(CountColor(*Before, Caption, Rgb(HotColor)), 0);
  EXPECT_GT(CountColor(*After, Caption, Rgb(HotColor)), 20);
  // With HotTrack off the caption keeps its colour.
  Bar.SetHotTrack(false);
  EXPECT_EQ(Bar.RepaintTriggers(), rtTextChanged);
  auto Off = PaintToBitmap(Bar);
  EXPECT_EQ(CountColor(*Off, Caption, Rgb(HotColor)), 0);
}

TEST_F(tpPaneBarTest, DisabledItemIsGreyNeverHotAndItsClickIsTheBarsOwn) {
  MakeWindows();
  Bar.Items()[2]->SetEnabled(false);
  int ItemClicks = 0, BarClicks = 0;
  Bar.OnItemClick = [&](TObject*, TtpPaneBarItem*) { ++ItemClicks; };
  Bar.Items()[2]->OnClick = [&](TObject*) { ++ItemClicks; };
  Bar.OnClick = [&](TObject*) { ++BarClicks; };
  ClickAt(60, 85);
  EXPECT_EQ(Bar.Cursor(), crDefault);
  EXPECT_EQ(ItemClicks, 0);
  EXPECT_EQ(BarClicks, 1);
  auto Bitmap = PaintToBitmap(Bar);
  EXPECT_GT(RowColor(*Bitmap, 2, RGBColor(128, 128, 128)), 20);
  EXPECT_EQ(RowColor(*Bitmap, 2, HotColor), 0);
}

TEST_F(tpPaneBarTest, ItemClickRunsCanChangeThenItemClickThenTheItemsHandlerThenTheBars) {
  MakeWindows();
  std::vector<std::string> Calls;
  TtpPaneBarItem* Third = Bar.Items()[2];
  Bar.OnCanChange = [&](TObject* Sender, TtpPaneBarItem* Item, bool&) {
    EXPECT_EQ(Sender, &Bar);
    EXPECT_EQ(Item, Third);
    Calls.push_back("CanChange");
  };
  Bar.OnItemClick = [&](TObject*, TtpPaneBarItem* Item) {
    EXPECT_EQ(Item, Third);
    Calls.push_back("ItemClick");
  };
  Third->OnClick = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Third);
    Calls.push_back("OnClick");
  };
  Bar.OnClick = [&](TObject*) { Calls.push_back("Bar"); };
  ClickAt(60, 85);
  EXPECT_EQ(Calls, (std::vector<std::string>{"CanChange", "ItemClick", "OnClick", "Bar"}));
  EXPECT_FALSE(Bar.RollRunning());
}

TEST_F(tpPaneBarTest, RefusingCanChangeStopsEveryFollowingEvent) {
  MakeWindows();
  int Later = 0;
  Bar.OnCanChange = [&](TObject*, TtpPaneBarItem*, bool& AllowChange) { AllowChange = false; };
  Bar.OnItemClick = [&](TObject*, TtpPaneBarItem*) { ++Later; };
  Bar.Items()[0]->OnClick = [&](TObject*) { ++Later; };
  Bar.OnClick = [&](TObject*) { ++Later; };
  ClickAt(60, 50);
  EXPECT_EQ(Later, 0);
}

TEST_F(tpPaneBarTest, UntitledItemShowsItsVisibleIndex) {
  Bar.Items()[0]->SetVisible(false);
  Bar.Items().Add();  // visible index 3 now; the one we look at is the third visible: index 2
  Bar.Items()[3]->SetCaption("");
  ASSERT_EQ(Bar.VisibleItems().Items(2), Bar.Items()[3]);
  auto Bitmap = PaintToBitmap(Bar);
  TBitmap Expected(184, 20);
  TCanvas& Canvas = Expected.Canvas();
  Canvas.Brush().SetColor(Background);
  Canvas.FillRect(RECT{0, 0, 184, 20});
  Canvas.Font().Assign(Bar.Font());
  RECT Text = {23, 0, 176, 20};
  Canvas.DrawText(std::string("(untitled 2)"), Text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  GdiFlush();
  int Differences = 0;
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 23; X < 176; ++X)
      if (Bitmap->Pixel(X, 79 + Y) != Expected.Pixel(X, Y)) ++Differences;
  EXPECT_EQ(Differences, 0);
  EXPECT_GT(RowColor(*Bitmap, 2, LinkColor), 20);
}

TEST_F(tpPaneBarTest, NarrowBarHidesTheRollButtonButStillRollsFromIt) {
  TtpPaneBar Narrow(&Band);
  Narrow.SetBounds(10, 10, 110, 35);
  Narrow.Items().Add().SetCaption("One");
  MakeWindows();
  auto Bitmap = PaintToBitmap(Narrow);
  EXPECT_EQ(CountColor(*Bitmap, RECT{86, 10, 104, 28}, RGB(206, 223, 247)), 0);
  Narrow.Perform(WM_MOUSEMOVE, 0, At(90, 15));
  EXPECT_EQ(Narrow.HotZone(), hzRollButton);
  Narrow.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(90, 15));
  Narrow.Perform(WM_LBUTTONUP, 0, At(90, 15));
  EXPECT_TRUE(Narrow.RollRunning());
  EXPECT_TRUE(PumpUntil([&] { return !Narrow.RollRunning(); }));
  EXPECT_TRUE(Narrow.Collapsed());
}

TEST_F(tpPaneBarTest, WithoutRollButtonHeaderClicksDoNotRollButTheHeaderStillHotTracks) {
  Bar.SetShowRollButton(false);
  MakeWindows();
  ClickAt(60, 20);
  EXPECT_FALSE(Bar.RollRunning());
  EXPECT_FALSE(Bar.Collapsed());
  EXPECT_EQ(Bar.HotZone(), hzHeader);
  EXPECT_EQ(Bar.Cursor(), crHandPoint);
  auto Bitmap = PaintToBitmap(Bar);
  EXPECT_GT(CountColor(*Bitmap, RECT{22, 5, 180, 33}, Rgb(HotColor)), 20);
  // No button picture either.
  EXPECT_EQ(CountColor(*Bitmap, RECT{160, 10, 178, 28}, RGB(206, 223, 247)), 0);
}

TEST_F(tpPaneBarTest, NamesAreUniqueWithinTheBar) {
  Bar.Items()[0]->SetName("Web");
  Bar.Items()[1]->SetName("Web");
  EXPECT_EQ(Bar.Items()[1]->Name(), "");
  EXPECT_EQ(Bar.Items().Find("Web"), Bar.Items()[0]);
  EXPECT_EQ(Bar.Items()[0]->DisplayName(), "Torvane Web Site [Web]");
  Bar.Items()[1]->SetCaption("");
  Bar.Items()[1]->SetVisible(false);
  EXPECT_EQ(Bar.Items()[1]->DisplayName(), "untitled*");
}

TEST_F(tpPaneBarTest, CopiedItemsKeepTheirSettings) {
  TtpPaneBar Copy(&Band);
  Bar.Items()[1]->SetVisible(false);
  Bar.Items()[2]->Tag = 7;
  Bar.Items()[3]->SetEnabled(false);
  Copy.SetItems(Bar.Items());
  ASSERT_EQ(Copy.Items().Count(), 4);
  EXPECT_EQ(Copy.VisibleItems().Count(), 3);
  EXPECT_EQ(Copy.Items()[2]->Tag, 7);
  EXPECT_FALSE(Copy.Items()[3]->Enabled());
  EXPECT_EQ(Copy.Items()[0]->Caption(), "Torvane Web Site");
  EXPECT_EQ(Copy.Height(), 3 * 20 + 43);
}

TEST_F(tpPaneBarTest, ImagesComeFromTheItemsListBeforeTheBarsAndVanishWithIt) {
  auto Images = std::make_unique<TImageList>(24, 24);
  ASSERT_TRUE(Images->AddResource(GetModuleHandleW(nullptr), "TPHELPIMAGE", clFuchsia));
  Bar.SetImageList(Images.get());
  Bar.Items()[0]->SetImageIndex(0);
  Bar.Items()[1]->SetImageIndex(5);  // no such image: nothing drawn, caption stays indented
  auto Bitmap = PaintToBitmap(Bar);
  // The image sits at the row's left, two pixels above the row (24 high in a 20-pixel row).
  EXPECT_GT(CountInk(*Bitmap, RECT{3, 37, 27, 61}, Rgb(Background)), 100);
  EXPECT_EQ(CountInk(*Bitmap, RECT{4, 62, 22, 78}, Rgb(Background)), 0);
  Bar.Notification(Images.get());
  EXPECT_EQ(Bar.ImageList(), nullptr);
  Images.reset();
  PaintToBitmap(Bar);  // no dangling list
}

TEST_F(tpPaneBarTest, DisabledItemKeepsItsImageAsItIsOnlyTheTextTurnsGrey) {
  auto Images = std::make_unique<TImageList>(24, 24);
  ASSERT_TRUE(Images->AddResource(GetModuleHandleW(nullptr), "TPHELPIMAGE", clFuchsia));
  Bar.SetImageList(Images.get());
  Bar.Items()[0]->SetImageIndex(0);
  Bar.Items()[2]->SetImageIndex(0);
  Bar.Items()[2]->SetEnabled(false);
  auto Bitmap = PaintToBitmap(Bar);
  // Left of the captions, the image of the disabled row (from y = 77) matches the enabled one (from 37).
  int Differences = 0;
  for (int Y = 0; Y < 24; ++Y)
    for (int X = 3; X < 23; ++X)
      if (Bitmap->Pixel(X, 37 + Y) != Bitmap->Pixel(X, 77 + Y)) ++Differences;
  EXPECT_EQ(Differences, 0);
  EXPECT_GT(CountInk(*Bitmap, RECT{3, 37, 23, 61}, Rgb(Background)), 100);
  Bar.SetImageList(nullptr);
}

TEST_F(tpPaneBarTest, DrawItemHandlerAlwaysGetsABitmap) {
  std::vector<std::pair<int, int>> Sizes;
  Bar.OnDrawItem = [&](TObject*, TCanvas&, RECT&, TtpDrawState, TtpPaneBarItem*, TBitmap* Bitmap) {
    ASSERT_NE(Bitmap, nullptr);
    Sizes.push_back({Bitmap->Width(), Bitmap->Height()});
  };
  PaintToBitmap(Bar);
  ASSERT_EQ(Sizes.size(), 4u);
  EXPECT_EQ(Sizes[0], std::make_pair(0, 0));  // no image list: an empty bitmap
  auto Images = std::make_unique<TImageList>(24, 24);
  ASSERT_TRUE(Images->AddResource(GetModuleHandleW(nullptr), "TPHELPIMAGE", clFuchsia));
  Bar.SetImageList(Images.get());
  Bar.Items()[0]->SetImageIndex(0);
  Sizes.clear();
  PaintToBitmap(Bar);
  ASSERT_EQ(Sizes.size(), 4u);
  EXPECT_EQ(Sizes[0], std::make_pair(24, 24));
  EXPECT_EQ(Sizes[1], std::make_pair(24, 24));  // ImageIndex -1: the list's size, no picture
  Bar.SetImageList(nullptr);
}

TEST_F(tpPaneBarTest, ParentFontChangesRewriteBothFontsWhileParentFontIsOn) {
  Bar.SetParentFont(true);
  Band.Font().SetName("Arial");
  EXPECT_EQ(Bar.Font().Name(), "Arial");
  EXPECT_EQ(Bar.Font().Size(), 10);
  EXPECT_EQ(Bar.Font().Color(), LinkColor);
  EXPECT_EQ(Bar.HeaderFont().Name(), "Arial");
  EXPECT_TRUE(Bar.HeaderFont().Style() & fsBold);
  EXPECT_TRUE(Bar.ParentFont());
  // A font set on the bar itself ends the inheritance.
  Bar.Font().SetHeight(-11);
  EXPECT_FALSE(Bar.ParentFont());
  Band.Font().SetName("Tahoma");
  EXPECT_EQ(Bar.Font().Name(), "Arial");
}

TEST_F(tpPaneBarTest, LinkedActionSuppliesValuesAndFollowsChangesTheItemStillShows) {
  TBasicAction Action;
  Action.SetCaption("Open Help");
  Action.SetHint("Shows the help");
  Action.SetImageIndex(0);
  TtpPaneBarItem* Item = Bar.Items()[3];
  Item->SetAction(&Action);
  EXPECT_EQ(Item->Action(), &Action);
  EXPECT_EQ(Item->Caption(), "Open Help");
  EXPECT_EQ(Item->Hint(), "Shows the help");
  EXPECT_EQ(Item->ImageIndex(), 0);
  Action.SetCaption("Help Topics");
  EXPECT_EQ(Item->Caption(), "Help Topics");
  Action.SetVisible(false);
  EXPECT_FALSE(Item->Visible());
  EXPECT_EQ(Bar.Height(), 103);
  Action.SetVisible(true);
  // A caption of the item's own stops following the action's.
  Item->SetCaption("Mine");
  Action.SetCaption("Contents");
  EXPECT_EQ(Item->Caption(), "Mine");
  Action.SetEnabled(false);
  EXPECT_FALSE(Item->Enabled());
}

TEST_F(tpPaneBarTest, ClickRunsTheActionWithTheActionAsSender) {
  MakeWindows();
  TBasicAction Action;
  Action.SetCaption("Online Help");
  TObject* ExecutedBy = nullptr;
  Action.OnExecute = [&](TObject* Sender) { ExecutedBy = Sender; };
  Bar.Items()[3]->SetAction(&Action);
  ClickAt(60, 105);
  EXPECT_EQ(ExecutedBy, &Action);
  // An item handler of its own is called instead, still with the action as sender.
  TObject* ClickedBy = nullptr;
  ExecutedBy = nullptr;
  Bar.Items()[3]->OnClick = [&](TObject* Sender) { ClickedBy = Sender; };
  ClickAt(60, 106);
  EXPECT_EQ(ClickedBy, &Action);
  EXPECT_EQ(ExecutedBy, nullptr);
}

TEST_F(tpPaneBarTest, AssignedActionReplacesTheItemsEarlierClickHandler) {
  MakeWindows();
  TBasicAction Action;
  Action.SetCaption("Online Help");
  TObject* ExecutedBy = nullptr;
  bool OldHandlerRan = false;
  Action.OnExecute = [&](TObject* Sender) { ExecutedBy = Sender; };
  Bar.Items()[3]->OnClick = [&](TObject*) { OldHandlerRan = true; };
  Bar.Items()[3]->SetAction(&Action);
  ClickAt(60, 105);
  EXPECT_EQ(ExecutedBy, &Action);
  EXPECT_FALSE(OldHandlerRan);
}

TEST_F(tpPaneBarTest, ActionThatGoesAwayLeavesTheItemUnlinked) {
  auto Images = std::make_unique<TImageList>(24, 24);
  ASSERT_TRUE(Images->AddResource(GetModuleHandleW(nullptr), "TPHELPIMAGE", clFuchsia));
  auto Action = std::make_unique<TBasicAction>();
  Action->SetCaption("Linked");
  Action->SetImageIndex(0);
  Action->Images = Images.get();
  Bar.Items()[0]->SetAction(Action.get());
  Bar.Items()[1]->SetAction(Action.get());
  auto Bitmap = PaintToBitmap(Bar);
  EXPECT_GT(CountInk(*Bitmap, RECT{3, 37, 22, 61}, Rgb(Background)), 100);  // the action list's image
  Action.reset();
  EXPECT_EQ(Bar.Items()[0]->Action(), nullptr);
  EXPECT_EQ(Bar.Items()[1]->Action(), nullptr);
  EXPECT_EQ(Bar.Items()[0]->Caption(), "Linked");
  PaintToBitmap(Bar);
  // Unassigning by hand and deleting a linked item are just as safe.
  TBasicAction Other;
  Bar.Items()[2]->SetAction(&Other);
  Bar.Items()[2]->SetAction(nullptr);
  Bar.Items()[3]->SetAction(&Other);
  Bar.Items().Delete(3);
  Other.SetCaption("Still fine");
}

TEST_F(tpPaneBarTest, IconSitsAtTheTopLeftAndPushesTheCaptionRight) {
  auto Before = PaintToBitmap(Bar);
  TIcon Icon;
  ASSERT_TRUE(Icon.LoadFromResourceName(GetModuleHandleW(nullptr), "TPHELPICON", 32));
  EXPECT_EQ(Icon.Width(), 32);
  EXPECT_EQ(Icon.Height(), 32);
  TIcon Folder;
  ASSERT_TRUE(Folder.LoadFromResourceName(GetModuleHandleW(nullptr), "TPFOLDERICON", 16));
  EXPECT_EQ(Folder.Width(), 16);
  Bar.SetIcon(Icon);
  auto After = PaintToBitmap(Bar);
  // The disc reaches above the header band, into the parent-coloured strip.
  EXPECT_GT(CountInk(*After, RECT{2, 0, 34, 5}, Rgb(14319721)), 10);
  EXPECT_EQ(CountInk(*Before, RECT{2, 0, 34, 5}, Rgb(14319721)), 0);
  // Caption text starts 22 pixels in without an icon and 38 with one.
  auto FirstInkColumn = [](TBitmap& Bitmap) {
    for (int X = 0; X < 150; ++X)
      if (CountColor(Bitmap, RECT{X, 10, X + 1, 30}, Rgb(LinkColor)) > 0) return X;
    return -1;
  };
  EXPECT_GE(FirstInkColumn(*Before), 22);
  EXPECT_LT(FirstInkColumn(*Before), 26);
  EXPECT_GE(FirstInkColumn(*After), 38);
  EXPECT_LT(FirstInkColumn(*After), 42);
}

TEST_F(tpPaneBarTest, LockedBarKeepsItsHeightUntilEndUpdate) {
  Bar.BeginUpdate();
  Bar.Items().Add().SetCaption("Fifth");
  Bar.Items()[0]->SetVisible(false);
  Bar.Items().Add();
  EXPECT_EQ(Bar.Height(), 123);
  Bar.EndUpdate();
  EXPECT_EQ(Bar.Height(), 5 * 20 + 43);
}
