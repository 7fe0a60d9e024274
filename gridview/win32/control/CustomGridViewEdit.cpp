// In-place editing of TCustomGridViewControl: opening a column's editor over a cell or an input
// cell, accepting its text, the keys that end it, the input row, and the in-cell play objects.
#include <algorithm>

#include "gridview/win32/control/CustomGridView.h"

TCellEditor* TCustomGridViewControl::ColumnEditor(int ACol) {
  if (ACol < 0 || ACol >= FModel.Columns().Count()) return nullptr;
  return dynamic_cast<TCellEditor*>(FModel.Columns().Items(ACol)->Editor());
}

RECT TCustomGridViewControl::EditorBounds(int ACol, int ARow, bool Input) {
  return ToRECT(TGridCellEditing::Bounds(FGeometry, ACol, ARow, Input));
}

void TCustomGridViewControl::ShowCellEditor(int ACol, int ARow, char16_t Key) {
  if (FEditing.OpenOver(ACol, ARow)) return;
  if (!FModel.ColumnEditable(ACol) || !FModel.ValidRow(ARow)) return;
  TCellEditor* Editor = ColumnEditor(ACol);
  if (!Editor) return;
  bool Accept = true;
  if (OnBeforeEdit) OnBeforeEdit(EventSender(), ACol, ARow, Accept);
  if (!Accept) return;
  OpenEditorAt(*Editor, ACol, ARow, false, Key ? std::u16string(1, Key) : FModel.GetCellText(ACol, ARow), Key != 0);
}

void TCustomGridViewControl::ShowInputEditor(int ACol, char16_t Key) {
  if (!Options().Contains(goInput) || GridStyle() != gsReport || ACol < 0 || ACol >= FModel.Columns().Count()) return;
  TCustomColumn* Column = FModel.Columns().Items(ACol);
  if (!Column->Options().Contains(coCanInput)) return;
  if (FEditing.OpenOverInput(ACol)) return;
  TCellEditor* Editor = ColumnEditor(ACol);
  if (!Editor) return;
  OpenEditorAt(*Editor, ACol, -1, true, Key ? std::u16string(1, Key) : Column->InputText(), Key != 0);
}

void TCustomGridViewControl::OpenEditorAt(TCellEditor& Editor, int ACol, int ARow, bool Input,
                                          const std::u16string& Text, bool Typed) {
  AcceptAndCloseEditor();
  TCustomColumn* Column = FModel.Columns().Items(ACol);
  Editor.SetParent(this);
  Editor.SetAlignment(Column->Alignment());
  Editor.SetMargin(-1);
  Editor.SetVerticalAlignment(Column->VerticalAlignment());
  Editor.SetColor(Input ? Color() : FModel.GetCellColor(ACol, ARow));
  Editor.Font().SetColor(Column->Font().Color);
  Column->PrepareEditor();
  FEditing.Opened(Editor, ACol, ARow, Input);
  Column->SetInputEditing(Input);
  // The typed text raises no OnEdit of the grid until the editor is ours.
  Editor.OnEdit = nullptr;
  Editor.SetAsText(Text);
  Editor.SetHost(this);
  Editor.OnEdit = [this](TObject*) {
    if (FEditing.Editor() && OnEdit)
      OnEdit(EventSender(), FEditing.Col(), FEditing.Row(), FEditing.Editor()->GetAsText());
  };
  const RECT R = EditorBounds(ACol, ARow, Input);
  Editor.SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
  Editor.Show();
  Editor.BringToFront();
  if (CanFocus()) Editor.SetFocus();
  Editor.AfterShow();
  // A typed first character stays unselected: the next one goes after it, not over it.
  if (Column->Options().Contains(coEditorAutoSelect) && !Typed) Editor.SelectAll();
}

void TCustomGridViewControl::EndCellEdit() {
  if (!FEditing.Editor()) return;
  const std::u16string Value = FEditing.Editor()->GetAsText();
  if (FEditing.Input()) {
    if (FEditing.Col() < FModel.Columns().Count()) FModel.Columns().Items(FEditing.Col())->SetInputText(Value);
    return;
  }
  if (!FModel.ValidRow(FEditing.Row()) || FEditing.Col() >= FModel.Columns().Count() ||
      Value == FModel.GetCellText(FEditing.Col(), FEditing.Row()))
    return;
  bool Accept = true;
  if (OnEditAccept) {
    // A handler that asks the user (a message box takes the focus) is not asked again meanwhile.
    TGridCellEditing::TAcceptScope Accepting(FEditing);
    OnEditAccept(EventSender(), FEditing.Col(), FEditing.Row(), Value, Accept);
  }
  if (!Accept) return;
  FModel.SetCellText(FEditing.Col(), FEditing.Row(), Value);
  if (OnAfterEdit) OnAfterEdit(EventSender(), FEditing.Col(), FEditing.Row(), Value);
}

void TCustomGridViewControl::CloseEditor() {
  if (!FEditing.Editor()) return;
  TCellEditor* Editor = FEditing.Editor();
  const bool Input = FEditing.Input();
  const int Col = FEditing.Col(), Row = FEditing.Row();
  // Forgotten first: hiding moves the focus, which may come back here.
  FEditing.Forget();
  Editor->SetHost(nullptr);
  Editor->OnEdit = nullptr;
  // Text editors keep the focus in their edit box, a child of the editor.
  const bool HadFocus =
      Editor->HandleAllocated() && (GetFocus() == Editor->Handle() || IsChild(Editor->Handle(), GetFocus()));
  Editor->Hide();
  if (HadFocus && CanFocus()) SetFocus();
  if (Col < FModel.Columns().Count()) {
    FModel.Columns().Items(Col)->SetInputEditing(false);
    if (Input)
      InvalidateColumn(FModel.Columns().Items(Col), gaInput);
    else
      InvalidateCell(Col, Row);
  }
}

void TCustomGridViewControl::RepositionEditor() {
  if (!FEditing.Editor()) return;
  if (FEditing.Col() >= FModel.Columns().Count() || !FModel.Columns().Items(FEditing.Col())->Visible() ||
      (!FEditing.Input() && !FModel.ValidRow(FEditing.Row()))) {
    CloseEditor();
    return;
  }
  const RECT R = EditorBounds(FEditing.Col(), FEditing.Row(), FEditing.Input());
  FEditing.Editor()->SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
}

bool TCustomGridViewControl::EditorKeyDown(TCellEditor& Editor, WORD Key, TShiftState Shift) {
  if (&Editor != FEditing.Editor()) return false;
  switch (Key) {
    case VK_RETURN:
      if (FEditing.Input()) {
        EndCellEdit();
        const int Col = FEditing.Col();
        AcceptInputRow();
        if (FEditing.Editor() && Col < FModel.Columns().Count()) {
          FEditing.Editor()->SetAsText(FModel.Columns().Items(Col)->InputText());
          FEditing.Editor()->SelectAll();
        }
      } else {
        AcceptAndCloseEditor();
        if (CanFocus()) SetFocus();
        MoveBySelectionDirection();
      }
      return true;
    case VK_ESCAPE:
      CloseEditor();
      if (CanFocus()) SetFocus();
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT: {
      if (!Editor.PassesArrowKeys()) return false;
      AcceptAndCloseEditor();
      if (CanFocus()) SetFocus();
      WORD GridKey = Key;
      KeyDown(GridKey, Shift);
      return true;
    }
    default: return false;
  }
}

namespace {
// Posted by an editor that lost the focus: the grid looks where it went once it has arrived.
UINT EditorFocusLeftMessage() {
  static const UINT Message = RegisterWindowMessageW(L"Torvane.Grid.EditorFocusLeft");
  return Message;
}
}  // namespace

void TCustomGridViewControl::EditorFocusLeft(TCellEditor& Editor) {
  // Closing now would hide a window in the middle of the platform's focus change.
  if (&Editor == FEditing.Editor() && HandleAllocated()) PostMessageW(FHandle, EditorFocusLeftMessage(), 0, 0);
}

bool TCustomGridViewControl::EditorFocusMessage(UINT Message) {
  if (Message != EditorFocusLeftMessage()) return false;
  // Another control of the form or another program has the focus now (none of ours: null), so
  // the input ends as leaving the grid ends it. Into the grid itself it is no leaving.
  const HWND Focus = GetFocus();
  if (FEditing.Editor() && !FEditing.Accepting() && Focus != FHandle && !(Focus && IsChild(FHandle, Focus)))
    AcceptAndCloseEditor();
  return true;
}

void TCustomGridViewControl::MoveBySelectionDirection() {
  switch (FEditing.MoveDirection()) {
    case mdUp:
      if (FModel.CurrentRow() > 0) FModel.SetCurrentRow(FModel.CurrentRow() - 1);
      break;
    case mdDown: FModel.SetCurrentRow(FModel.CurrentRow() + 1); break;
    case mdLeft:
    case mdRight: {
      const int Col = NextVisibleColumn(FModel.CurrentColumn(), FEditing.MoveDirection() == mdRight ? 1 : -1);
      if (Col >= 0) FModel.SetCurrentCell(Col, FModel.CurrentRow(), 0);
      break;
    }
    case mdNone: break;
  }
}

void TCustomGridViewControl::AcceptInputRow() {
  bool Accept = true;
  if (OnInputAccept) OnInputAccept(EventSender(), Accept);
  if (!Accept) return;
  FModel.AddRows(1);
  const int Row = FModel.RowCount() - 1;
  for (int Col = 0; Col < FModel.Columns().Count(); ++Col) {
    TCustomColumn* Column = FModel.Columns().Items(Col);
    const std::u16string Text = Column->InputText().empty() ? Column->DefaultValue() : Column->InputText();
    if (!Text.empty()) FModel.SetCellText(Col, Row, Text);
  }
  for (int Col = 0; Col < FModel.Columns().Count(); ++Col)
    FModel.Columns().Items(Col)->SetInputText(FModel.Columns().Items(Col)->DefaultValue());
  if (OnInputAdded) OnInputAdded(EventSender());
}

// Play objects.

bool TCustomGridViewControl::BeginCellPlay(int ACol, int ARow) {
  if (ACol < 0 || ACol >= FModel.Columns().Count() || !FModel.ValidRow(ARow)) return false;
  TCustomColumn* Column = FModel.Columns().Items(ACol);
  auto* Play = dynamic_cast<TColumnPlay*>(Column->Play());
  if (!Play || !Column->Options().Contains(coEditing)) return false;
  bool Accept = true;
  if (OnBeforeEdit) OnBeforeEdit(EventSender(), ACol, ARow, Accept);
  if (!Accept) return false;
  FModel.LoadCellValue(ACol, ARow, *Play);
  Play->CellRect = GetCellRect(ACol, ARow);
  Play->Themed = ThemesInUse();
  Play->OnChange = [this, ACol, ARow](TObject* Sender) {
    PlayCompleted(*static_cast<TColumnPlay*>(Sender), ACol, ARow);
  };
  return true;
}

void TCustomGridViewControl::PlayCompleted(TColumnPlay& Play, int ACol, int ARow) {
  if (!FModel.ValidRow(ARow) || ACol >= FModel.Columns().Count()) return;
  bool Accept = true;
  if (OnEditAccept) OnEditAccept(EventSender(), ACol, ARow, Play.TextValue, Accept);
  if (!Accept) return;
  if (FModel.Columns().Items(ACol)->CellKind() == ckBoolean)
    FModel.GetCell(ACol, ARow)->SetAsBoolean(Play.BooleanValue);
  else
    FModel.SetCellText(ACol, ARow, Play.TextValue);
  if (OnAfterEdit) OnAfterEdit(EventSender(), ACol, ARow, Play.TextValue);
}
