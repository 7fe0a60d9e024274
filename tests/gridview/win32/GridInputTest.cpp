// The grid driven as a user drives it: mouse and key messages sent to the real control.
#include <oleacc.h>

#include "GridTestSupport.h"

namespace {
struct GridInputTest : GridFixture {
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetOptions(TGridOptions{goHeader, goMultiSelect, goSelectFullRow});
    AddColumn(100, u"Name");
    AddColumn(80, u"Size");
    AddColumn(60, u"Type");
    Grid->Model().AddRows(30);
    for (int Row = 0; Row < 30; ++Row) Grid->Model().SetCellText(0, Row, u"row " + Text(Row));
  }
  void TearDown() override {
    SetKeys(0);
    GridFixture::TearDown();
  }
  static std::u16string Text(int N) { return std::u16string(u"") + char16_t(u'0' + N / 10) + char16_t(u'0' + N % 10); }
  // Client y of a point inside the row (header 18, rows 16 pixels).
  int RowY(int Row) { return Grid->Geometry().RowTop(Row) + 5; }
  void Press(UINT Down, WPARAM Keys, int X, int Y) { Grid->Perform(Down, Keys, MAKELPARAM(X, Y)); }
  void Click(int X, int Y, WPARAM Keys = 0) {
    Press(WM_LBUTTONDOWN, MK_LBUTTON | Keys, X, Y);
    Press(WM_LBUTTONUP, Keys, X, Y);
  }
  void RightClick(int X, int Y) {
    Press(WM_RBUTTONDOWN, MK_RBUTTON, X, Y);
    Press(WM_RBUTTONUP, 0, X, Y);
  }
  // The keyboard state the grid reads for Shift and Ctrl.
  void SetKeys(int Keys) {
    BYTE State[256];
    GetKeyboardState(State);
    State[VK_SHIFT] = (Keys & ssShift) ? 0x80 : 0;
    State[VK_CONTROL] = (Keys & ssCtrl) ? 0x80 : 0;
    SetKeyboardState(State);
  }
  void Key(WORD VirtualKey, int Keys = 0) {
    SetKeys(Keys);
    Grid->Perform(WM_KEYDOWN, VirtualKey, 0);
    SetKeys(0);
  }
  void Type(wchar_t Char) { Grid->Perform(WM_CHAR, Char, 0); }
  std::vector<int> Selected() {
    std::vector<int> Rows;
    for (int Row = 0; Row < Grid->Model().RowCount(); ++Row)
      if (Grid->Model().RowSelected(Row)) Rows.push_back(Row);
    return Rows;
  }
  using Rows = std::vector<int>;
};
}  // namespace

TEST_F(GridInputTest, ClickCtrlClickShiftClickSelectsTheRangeFromTheAnchor) {
  Click(20, RowY(3));
  Click(20, RowY(7), MK_CONTROL);
  EXPECT_EQ(Selected(), (Rows{3, 7}));
  Click(20, RowY(5), MK_SHIFT);
  EXPECT_EQ(Selected(), (Rows{5, 6, 7}));
  EXPECT_EQ(Grid->Model().CurrentRow(), 5);
  EXPECT_EQ(Grid->Model().SelectedCount(), 3);
  // A plain click after a multi-selection leaves exactly that row.
  Click(20, RowY(1));
  EXPECT_EQ(Selected(), (Rows{1}));
}

TEST_F(GridInputTest, RightClickKeepsAMultiSelectionButMovesASingleOne) {
  int MouseDowns = 0;
  Grid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++MouseDowns; };
  Click(20, RowY(2));
  Click(20, RowY(4), MK_CONTROL);
  Click(20, RowY(6), MK_CONTROL);
  MouseDowns = 0;
  RightClick(20, RowY(9));
  EXPECT_EQ(Selected(), (Rows{2, 4, 6}));
  EXPECT_EQ(MouseDowns, 0);  // the context menu's handler sees the selection as it was
  Click(20, RowY(1));
  RightClick(20, RowY(9));
  EXPECT_EQ(Selected(), (Rows{9}));
  EXPECT_EQ(MouseDowns, 2);
}

TEST_F(GridInputTest, DoubleClickReachesTheWindowOnlyOverTheRows) {
  int DoubleClicks = 0;
  Grid->OnDblClick = [&](TObject*) { ++DoubleClicks; };
  auto DoubleClickAt = [&](int X, int Y) {
    Press(WM_LBUTTONDOWN, MK_LBUTTON, X, Y);
    Press(WM_LBUTTONUP, 0, X, Y);
    Press(WM_LBUTTONDBLCLK, MK_LBUTTON, X, Y);
    Press(WM_LBUTTONUP, 0, X, Y);
  };
  DoubleClickAt(30, 8);  // header
  EXPECT_EQ(DoubleClicks, 0);
  DoubleClickAt(30, RowY(2));
  EXPECT_EQ(DoubleClicks, 1);
  EXPECT_EQ(Grid->Model().CurrentRow(), 2);
}

TEST_F(GridInputTest, DividerDragResizesAndStopsAtEightPixels) {
  std::vector<int> Resized;
  Grid->OnColumnResize = [&](TObject*, int ACol) { Resized.push_back(ACol); };
  Press(WM_LBUTTONDOWN, MK_LBUTTON, 101, 5);  // one pixel right of the first divider
  EXPECT_TRUE(Grid->ColumnResizing());
  Press(WM_MOUSEMOVE, MK_LBUTTON, 130, 5);
  Press(WM_LBUTTONUP, 0, 130, 5);
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), 130);
  EXPECT_EQ(Resized, (std::vector<int>{0}));
  Press(WM_LBUTTONDOWN, MK_LBUTTON, 129, 5);
  Press(WM_MOUSEMOVE, MK_LBUTTON, -40, 5);
  Press(WM_LBUTTONUP, 0, -40, 5);
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), Grid->Model().Metrics().MinColumnWidth());
  EXPECT_FALSE(Grid->ColumnResizing());
  // A column of fixed size has no divider to drag, and a header click there sorts nothing.
  Grid->Model().Columns().Items(1)->SetOptions(Grid->Model().Columns().Items(1)->Options() +
                                               TColumnOptions{coFixedSize});
  EXPECT_EQ(Grid->Geometry().DividerAt(Grid->Model().Metrics().MinColumnWidth() + 80, 5), nullptr);
}

TEST_F(GridInputTest, RightButtonResizesPressesAndDragsHeadersButDoesNotSort) {
  Form.Show();
  std::vector<int> Clicked;
  Grid->OnHeaderClick = [&](TObject*, int ACol) { Clicked.push_back(ACol); };
  Press(WM_RBUTTONDOWN, MK_RBUTTON, 101, 5);
  EXPECT_TRUE(Grid->ColumnResizing());
  Press(WM_MOUSEMOVE, MK_RBUTTON, 140, 5);
  Press(WM_LBUTTONUP, 0, 140, 5);  // not the button that pressed
  EXPECT_TRUE(Grid->ColumnResizing());
  Press(WM_RBUTTONUP, 0, 140, 5);
  EXPECT_FALSE(Grid->ColumnResizing());
  EXPECT_EQ(Grid->Model().Columns().Items(0)->Width(), 140);
  // A right click on a header reports it; only the left button sorts.
  Press(WM_RBUTTONDOWN, MK_RBUTTON, 30, 8);
  Press(WM_RBUTTONUP, 0, 30, 8);
  EXPECT_EQ(Clicked, (std::vector<int>{0}));
  EXPECT_FALSE(Grid->Model().Columns().Items(0)->Sorted());
  // A right drag moves the column and ends on the right button's release.
  TCustomColumn* Name = Grid->Model().Columns().Items(0);
  Press(WM_RBUTTONDOWN, MK_RBUTTON, 30, 8);
  Press(WM_MOUSEMOVE, MK_RBUTTON, 36, 8);
  ASSERT_TRUE(Grid->ColumnDragging());
  auto ToBox = [&](UINT Message, WPARAM Keys) {  // at (200, 8) of the grid; the box moves itself
    TColumnDragBox& Box = Grid->DragBox();
    const POINT P = Box.ScreenToClient(Grid->ClientToScreen(POINT{200, 8}));
    Box.Perform(Message, Keys, MAKELPARAM(P.x, P.y));
  };
  ToBox(WM_MOUSEMOVE, MK_RBUTTON);
  ToBox(WM_LBUTTONUP, 0);
  EXPECT_TRUE(Grid->ColumnDragging());
  ToBox(WM_RBUTTONUP, 0);
  EXPECT_FALSE(Grid->ColumnDragging());
  EXPECT_EQ(Grid->Model().Columns().DisplayItems(1), Name);
}

TEST_F(GridInputTest, HeaderClickSortsAndReportsTheColumn) {
  std::vector<int> Clicked;
  Grid->OnHeaderClick = [&](TObject*, int ACol) { Clicked.push_back(ACol); };
  Click(30, 8);
  EXPECT_TRUE(Grid->Model().Columns().Items(0)->Sorted());
  EXPECT_EQ(Grid->Model().GetCellText(0, 0), u"row 00");
  Click(30, 8);
  EXPECT_EQ(Grid->Model().GetCellText(0, 0), u"row 29");
  EXPECT_EQ(Clicked, (std::vector<int>{0, 0}));
}

TEST_F(GridInputTest, KeysMoveByRowPageAndEndAndStopAtTheLastRow) {
  Click(20, RowY(0));
  Key(VK_DOWN);
  EXPECT_EQ(Grid->Model().CurrentRow(), 1);
  const int Page = Grid->Geometry().WholeRowsInView();
  ASSERT_GT(Page, 3);
  Key(VK_NEXT);
  EXPECT_EQ(Grid->Model().CurrentRow(), Page - 1);  // first to the last row in view
  Key(VK_NEXT);
  EXPECT_EQ(Grid->Model().CurrentRow(), 2 * Page - 1);
  EXPECT_LE(Grid->TopRow(), Grid->Model().CurrentRow());
  Key(VK_END);
  EXPECT_EQ(Grid->Model().CurrentRow(), 29);
  EXPECT_EQ(Grid->TopRow(), Grid->Geometry().MaxTopRow());
  Key(VK_DOWN);
  EXPECT_EQ(Grid->Model().CurrentRow(), 29);
  EXPECT_EQ(Selected(), (Rows{29}));
  Key(VK_HOME, ssCtrl);
  EXPECT_EQ(Grid->Model().CurrentRow(), 0);
  EXPECT_EQ(Grid->TopRow(), 0);
  EXPECT_EQ(Selected(), (Rows{0}));
  Key(VK_RIGHT);
  EXPECT_EQ(Grid->Model().CurrentColumn(), 1);
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(Grid->Model().CurrentColumn(), 0);
}

TEST_F(GridInputTest, ShiftKeysExtendFromTheAnchorAndCtrlASelectsEverything) {
  Click(20, RowY(4));
  Key(VK_DOWN, ssShift);
  Key(VK_DOWN, ssShift);
  EXPECT_EQ(Selected(), (Rows{4, 5, 6}));
  Key(VK_HOME, ssShift);
  EXPECT_EQ(Selected(), (Rows{0, 1, 2, 3, 4}));
  Key('A', ssCtrl);
  EXPECT_EQ(Grid->Model().SelectedCount(), 30);
  Key(VK_DOWN);
  EXPECT_EQ(Grid->Model().SelectedCount(), 1);
}

TEST_F(GridInputTest, EnterMovesOnlyWithWantReturnsAndAlwaysReachesTheWindow) {
  int Enters = 0;
  Grid->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { Enters += Key == VK_RETURN; };
  Click(20, RowY(3));
  Key(VK_RETURN);
  Type(L'\r');
  EXPECT_EQ(Grid->Model().CurrentRow(), 3);
  Grid->SetWantReturns(true);
  Key(VK_RETURN);
  Type(L'\r');
  EXPECT_EQ(Grid->Model().CurrentRow(), 4);
  EXPECT_EQ(Enters, 2);
}

TEST_F(GridInputTest, TypingSearchesTheSearchColumnRoundFromTheCurrentRow) {
  Grid->Model().Columns().Items(2)->SetOptions(Grid->Model().Columns().Items(2)->Options() +
                                               TColumnOptions{coSearchColumn});
  const char16_t* Types[] = {u"apple", u"Banana", u"avocado", u"cherry", u"Apricot"};
  for (int Row = 0; Row < 5; ++Row) Grid->Model().SetCellText(2, Row, Types[Row]);
  Click(20, RowY(2));
  Type(L'a');  // after the current row first: Apricot
  EXPECT_EQ(Grid->Model().CurrentRow(), 4);
  Type(L'v');  // "av": round past the end to avocado
  EXPECT_EQ(Grid->Model().CurrentRow(), 2);
  EXPECT_EQ(Grid->SearchText(), u"av");
  Grid->SearchTimerElapsed();
  Type(L'B');
  EXPECT_EQ(Grid->Model().CurrentRow(), 1);
  Type(L'x');  // "bx" matches nothing: the row stays
  EXPECT_EQ(Grid->Model().CurrentRow(), 1);
}

TEST_F(GridInputTest, ColumnDragMovesOverAHeaderAndHidesOverTheBodyOnlyWhenAllowed) {
  Form.Show();
  TCustomColumn* Name = Grid->Model().Columns().Items(0);
  // A message to the drag box at a point given in the grid's coordinates (the box moves itself).
  auto ToBox = [&](UINT Message, WPARAM Keys, int X, int Y) {
    TColumnDragBox& Box = Grid->DragBox();
    const POINT P = Box.ScreenToClient(Grid->ClientToScreen(POINT{X, Y}));
    Box.Perform(Message, Keys, MAKELPARAM(P.x, P.y));
  };
  auto DropAt = [&](int X, int Y) {
    Press(WM_LBUTTONDOWN, MK_LBUTTON, 30, 8);
    Press(WM_MOUSEMOVE, MK_LBUTTON, 36, 8);  // beyond 3 pixels: the drag starts
    EXPECT_TRUE(Grid->ColumnDragging());
    ToBox(WM_MOUSEMOVE, MK_LBUTTON, X, Y);
    ToBox(WM_LBUTTONUP, 0, X, Y);
    EXPECT_FALSE(Grid->ColumnDragging());
  };
  // Over the third header: both arrows at its left edge; a right release does not end the drag.
  Press(WM_LBUTTONDOWN, MK_LBUTTON, 30, 8);
  Press(WM_MOUSEMOVE, MK_LBUTTON, 36, 8);
  ToBox(WM_MOUSEMOVE, MK_LBUTTON, 200, 8);
  EXPECT_TRUE(Grid->DragArrow(true).FlyoutShowing());
  EXPECT_TRUE(Grid->DragArrow(false).FlyoutShowing());
  EXPECT_EQ(Grid->DragArrow(true).Left(), Grid->ClientToScreen(POINT{180, 0}).x - 4);
  ToBox(WM_RBUTTONUP, 0, 200, 8);
  EXPECT_TRUE(Grid->ColumnDragging());
  ToBox(WM_MOUSEMOVE, MK_LBUTTON, 200, 150);  // over the body: no arrows
  EXPECT_FALSE(Grid->DragArrow(true).FlyoutShowing());
  ToBox(WM_MOUSEMOVE, MK_LBUTTON, 200, 8);
  ToBox(WM_LBUTTONUP, 0, 200, 8);
  EXPECT_FALSE(Grid->ColumnDragging());
  EXPECT_FALSE(Grid->DragArrow(true).FlyoutShowing());
  EXPECT_EQ(Grid->Model().Columns().DisplayItems(2), Name);
  // Right of the last column nothing changes.
  Grid->Model().Columns().Move(2, 0);
  DropAt(300, 8);
  EXPECT_EQ(Grid->Model().Columns().DisplayItems(0), Name);
  // Over the body: hidden only with goCanHideColumn.
  DropAt(30, 150);
  EXPECT_TRUE(Name->Visible());
  Grid->SetOptions(Grid->Options() + TGridOptions{goCanHideColumn});
  DropAt(30, 150);
  EXPECT_FALSE(Name->Visible());
}

TEST_F(GridInputTest, LeavingTheApplicationDropsDragsResizesAndHints) {
  Form.Show();
  auto Deactivate = [&] { Form.Perform(WM_ACTIVATEAPP, FALSE, 0); };
  TCustomColumn* Name = Grid->Model().Columns().Items(0);
  Press(WM_LBUTTONDOWN, MK_LBUTTON, 30, 8);
  Press(WM_MOUSEMOVE, MK_LBUTTON, 36, 8);
  const POINT P = Grid->DragBox().ScreenToClient(Grid->ClientToScreen(POINT{200, 8}));
  Grid->DragBox().Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(P.x, P.y));
  ASSERT_TRUE(Grid->DragArrow(true).FlyoutShowing());
  Deactivate();
  EXPECT_FALSE(Grid->ColumnDragging());
  EXPECT_FALSE(Grid->DragBox().FlyoutShowing());
  EXPECT_FALSE(Grid->DragArrow(true).FlyoutShowing());
  EXPECT_FALSE(Grid->DragArrow(false).FlyoutShowing());
  EXPECT_EQ(Grid->Model().Columns().DisplayItems(0), Name);
  // A resize ends where it began.
  Press(WM_LBUTTONDOWN, MK_LBUTTON, 101, 5);
  Press(WM_MOUSEMOVE, MK_LBUTTON, 150, 5);
  Deactivate();
  EXPECT_FALSE(Grid->ColumnResizing());
  Press(WM_LBUTTONUP, 0, 150, 5);
  EXPECT_EQ(Name->Width(), 100);
  // The hint of a text too wide for its cell.
  Name->SetOptions(Name->Options() + TColumnOptions{coShowTextFitHint});
  Grid->Model().SetCellText(0, 2, u"a text far too wide for a column of a hundred pixels");
  Press(WM_MOUSEMOVE, 0, 20, RowY(2));
  ASSERT_TRUE(Grid->FitHint().FlyoutShowing());
  Deactivate();
  EXPECT_FALSE(Grid->FitHint().FlyoutShowing());
}

namespace {
// An editor that keeps its text to itself, as the concrete editors build on.
class TPlainEditor : public TCellEditor {
 public:
  using TCellEditor::TCellEditor;
};
}  // namespace

TEST_F(GridInputTest, EditorOpensOnAClickAcceptsOnEnterAndDropsOnEscape) {
  RegisterColumnElementClass("TTextualEditor", [](TCustomColumn&) { return std::make_unique<TPlainEditor>(); });
  auto* Notes = AddColumn(100, u"Notes");
  Notes->SetOptions(Notes->Options() + TColumnOptions{coEditing});
  Grid->SetOptions(TGridOptions{goHeader});
  std::vector<std::u16string> Edits, Accepted;
  Grid->OnEdit = [&](TObject*, int, int, const std::u16string& Value) { Edits.push_back(Value); };
  Grid->OnAfterEdit = [&](TObject*, int, int, const std::u16string& Value) { Accepted.push_back(Value); };
  Click(280, RowY(2));
  ASSERT_NE(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Grid->EditColumn(), 3);
  EXPECT_EQ(Grid->EditRow(), 2);
  TCellEditor& Editor = *Grid->OpenEditor();
  EXPECT_EQ(Editor.Parent(), Grid.get());
  Editor.SetAsText(u"first");
  EXPECT_EQ(Edits, (std::vector<std::u16string>{u"first"}));
  Editor.Perform(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Grid->Model().GetCellText(3, 2), u"first");
  EXPECT_EQ(Accepted, (std::vector<std::u16string>{u"first"}));
  EXPECT_EQ(Grid->Model().CurrentRow(), 3);  // Enter moves down
  // Typing opens the editor with the character; Escape drops the text.
  Grid->Model().SetCurrentCell(3, 3, 0);
  Type(L'x');
  ASSERT_NE(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Grid->OpenEditor()->GetAsText(), u"x");
  Grid->OpenEditor()->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  EXPECT_EQ(Grid->Model().GetCellText(3, 3), u"");
  // OnBeforeEdit refuses.
  Grid->OnBeforeEdit = [](TObject*, int, int, bool& Accept) { Accept = false; };
  Click(280, RowY(5));
  EXPECT_EQ(Grid->OpenEditor(), nullptr);
  UnregisterColumnElementClass("TTextualEditor");
}

TEST_F(GridInputTest, ScreenReadersReadTheRowsAsAListWithTheirStates) {
  CoInitialize(nullptr);
  Grid->FocusState = 1;
  Grid->Model().Columns().Items(1)->SetVisible(false);
  Grid->Model().SetCellText(2, 3, u"Text Document");
  Click(20, RowY(1));
  Click(20, RowY(3), MK_CONTROL);
  IAccessible* List = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(Grid->Handle(), OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&List)),
            S_OK);
  auto Child = [](long Id) {
    VARIANT V;
    VariantInit(&V);
    V.vt = VT_I4;
    V.lVal = Id;
    return V;
  };
  long Count = 0;
  EXPECT_EQ(List->get_accChildCount(&Count), S_OK);
  EXPECT_EQ(Count, 30);
  VARIANT Role;
  List->get_accRole(Child(CHILDID_SELF), &Role);
  EXPECT_EQ(Role.lVal, ROLE_SYSTEM_LIST);
  List->get_accRole(Child(4), &Role);
  EXPECT_EQ(Role.lVal, ROLE_SYSTEM_LISTITEM);
  BSTR Name = nullptr;
  ASSERT_EQ(List->get_accName(Child(4), &Name), S_OK);  // row 3: its visible cells in display order
  EXPECT_EQ(std::wstring(Name), L"row 03, Text Document");
  SysFreeString(Name);
  VARIANT State;
  List->get_accState(Child(4), &State);
  EXPECT_TRUE(State.lVal & STATE_SYSTEM_SELECTED);
  EXPECT_TRUE(State.lVal & STATE_SYSTEM_FOCUSED);
  List->get_accState(Child(2), &State);
  EXPECT_TRUE(State.lVal & STATE_SYSTEM_SELECTED);
  EXPECT_FALSE(State.lVal & STATE_SYSTEM_FOCUSED);
  List->get_accState(Child(3), &State);
  EXPECT_FALSE(State.lVal & STATE_SYSTEM_SELECTED);
  VARIANT Focus;
  ASSERT_EQ(List->get_accFocus(&Focus), S_OK);
  EXPECT_EQ(Focus.lVal, 4);
  // Several selected rows come as an enumeration of their children; one comes as itself.
  VARIANT Selection;
  ASSERT_EQ(List->get_accSelection(&Selection), S_OK);
  ASSERT_EQ(Selection.vt, VT_UNKNOWN);
  IEnumVARIANT* Rows = nullptr;
  ASSERT_EQ(Selection.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&Rows)), S_OK);
  VARIANT Items[3];
  ULONG Fetched = 0;
  EXPECT_EQ(Rows->Next(3, Items, &Fetched), S_FALSE);
  ASSERT_EQ(Fetched, 2u);
  EXPECT_EQ(Items[0].lVal, 2);
  EXPECT_EQ(Items[1].lVal, 4);
  Rows->Release();
  VariantClear(&Selection);
  Click(20, RowY(5));
  ASSERT_EQ(List->get_accSelection(&Selection), S_OK);
  EXPECT_EQ(Selection.vt, VT_I4);
  EXPECT_EQ(Selection.lVal, 6);
  EXPECT_EQ(List->get_accName(Child(31), &Name), E_INVALIDARG);
  List->Release();
  CoUninitialize();
}
