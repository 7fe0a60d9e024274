// The keyboard in TCustomGridViewControl: moving the current cell by page, end, arrow and Enter,
// selecting all rows, starting editors and plays by typing, and the incremental search (its rules
// are TIncrementalSearch's).
#include <windows.h>

#include <algorithm>

#include "gridview/win32/control/CustomGridView.h"

void TCustomGridViewControl::GoToRow(int ARow, TShiftState Shift) {
  FModel.SetCurrentCell(FModel.CurrentColumn(), ARow, Shift & (ssShift | ssCtrl));
  FModel.SetInputRowMode(false);
  ScrollIntoView(ARow);
}

void TCustomGridViewControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (FModel.RowCount() > 0 && NavigationKey(Key, Shift)) {
    // Moving hides a hint that belonged to the cell under the mouse before the scroll.
    HideHints();
  }
  TScrollView::KeyDown(Key, Shift);
}

bool TCustomGridViewControl::NavigationKey(WORD Key, TShiftState Shift) {
  const int Row = FModel.CurrentRow(), Last = FModel.RowCount() - 1;
  switch (Key) {
    case VK_PRIOR: {
      if (Row > TopRow() && Row <= Last) {
        GoToRow(TopRow(), Shift);
      } else {
        const int Target = std::max(0, std::min(Row, Last) - std::max(1, FGeometry.WholeRowsInView()));
        SetTopRow(Target);
        GoToRow(Target, Shift);
      }
      return true;
    }
    case VK_NEXT: {
      const int Shown = std::max(1, FGeometry.WholeRowsInView());
      const int LastShown = std::min(Last, TopRow() + Shown - 1);
      if (Row < LastShown) {
        GoToRow(LastShown, Shift);
      } else {
        const int Target = std::min(Last, Row + Shown);
        SetTopRow(TopRow() + (Target - Row));
        GoToRow(Target, Shift);
      }
      return true;
    }
    case VK_END:
      // Ctrl adds nothing to Home and End: they go to the first and last row either way.
      SetTopRow(FGeometry.MaxTopRow());
      GoToRow(Last, Shift & ssShift);
      return true;
    case VK_HOME:
      SetTopRow(0);
      GoToRow(0, Shift & ssShift);
      return true;
    case VK_LEFT:
    case VK_RIGHT: {
      const int Col = NextVisibleColumn(FModel.CurrentColumn(), Key == VK_RIGHT ? 1 : -1);
      if (Col >= 0) FModel.SetCurrentCell(Col, Row, 0);
      return true;
    }
    case VK_UP:
      if (FModel.InputRowMode()) return true;
      if (Row > 0 && Row <= Last) {
        GoToRow(Row - 1, Shift);
      } else if (Row == 0 && Options().Contains(goInput) && GridStyle() == gsReport) {
        FModel.SetInputRowMode(true);
        InvalidateSelection();
        InvalidateArea(gaInput);
      }
      return true;
    case VK_DOWN:
      if (FModel.InputRowMode()) {
        InvalidateArea(gaInput);
        FModel.SetCurrentRow(0);
        ScrollIntoView(0);
      } else if (Row < Last) {
        GoToRow(Row + 1, Shift);
      }
      return true;
    case 'A':
      // Ctrl+A selects every row of a multi-selecting grid.
      if ((Shift & (ssCtrl | ssAlt | ssShift)) != ssCtrl || !Options().Contains(goMultiSelect)) return false;
      Model().SelectAll();
      return true;
    default: return false;
  }
}

void TCustomGridViewControl::KeyPress(wchar_t& Key) {
  TScrollView::KeyPress(Key);
  if (Key == 0 || Key == VK_ESCAPE) return;
  if (Key == VK_RETURN) {
    // Without WantReturns, Enter is the window's (its key-down handler acts on it).
    if (FEditing.WantReturns() && FModel.RowCount() > 0) MoveBySelectionDirection();
    Key = 0;
    return;
  }
  const int Col = FModel.CurrentColumn(), Row = FModel.CurrentRow();
  if (Col < 0 || Col >= FModel.Columns().Count()) return;
  TCustomColumn* Column = FModel.Columns().Items(Col);
  if (!FModel.InputRowMode() && BeginCellPlay(Col, Row)) {
    if (static_cast<TColumnPlay*>(Column->Play())->KeyPress(static_cast<char16_t>(Key))) Key = 0;
    return;
  }
  if (Column->AcceptsKey(static_cast<char16_t>(Key))) {
    if (FModel.InputRowMode())
      ShowInputEditor(Col, static_cast<char16_t>(Key));
    else
      ShowCellEditor(Col, Row, static_cast<char16_t>(Key));
  }
  // Control characters (Backspace, Ctrl+letters) search nothing.
  if (!FModel.InputRowMode() && !Column->Options().Contains(coEditing) && FModel.RowCount() > 0 && Key >= 32)
    IncrementalSearch(Key);
}

void TCustomGridViewControl::IncrementalSearch(wchar_t Key) {
  const int Row = FSearch.Type(FModel, static_cast<char16_t>(Key));
  if (Row < 0) return;
  FModel.SetCurrentRow(Row);
  ScrollIntoView(Row);
}
