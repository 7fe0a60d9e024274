#include "gridview/win32/editors/CheckBoxEditor.h"

#include "core/Text.h"
#include "gridview/win32/base/DrawProviders.h"
#include "gridview/win32/base/Themes.h"

TCheckBoxEditor::TCheckBoxEditor() { SetEditText(u"False"); }

void TCheckBoxEditor::SetChecked(bool Value) {
  FChecked = Value;
  SetEditText(Value ? u"True" : u"False");
  Invalidate();
}

void TCheckBoxEditor::SetGrayed(bool Value) {
  FGrayed = Value;
  Invalidate();
}

void TCheckBoxEditor::SetAsText(const std::u16string& Value) {
  FChecked = AsciiLowerCase(Utf16ToUtf8(Value)) == "true";
  SetEditText(Value);
  Invalidate();
}

RECT TCheckBoxEditor::BoxRect() {
  return TGraphicsProvider::CheckBoxRect(VerticalAlignment(), Alignment(), ClientRect(),
                                         ThemeServices().ThemesActive());
}

bool TCheckBoxEditor::InBox(int X, int Y) {
  const RECT Box = BoxRect();
  return X >= Box.left && X < Box.right && Y >= Box.top && Y < Box.bottom;
}

void TCheckBoxEditor::SetHot(bool Value) {
  if (Value == FHot) return;
  FHot = Value;
  Invalidate();
}

void TCheckBoxEditor::PaintContent() {
  TCanvas& C = Canvas();
  const RECT Client = ClientRect();
  C.Brush().SetColor(Color());
  C.FillRect(Client);
  TGraphicsProvider::DrawCheckBox(FHandle, C, FHot, BoxPressed(), FChecked, VerticalAlignment(), Alignment(), Client,
                                  ThemeServices().ThemesActive());
}

void TCheckBoxEditor::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus()) SetFocus();
    FMouseDown = true;
    SetCapture(Handle());
    Invalidate();
  }
  TCanvasCellEditor::MouseDown(Button, Shift, X, Y);
}

void TCheckBoxEditor::MouseMove(TShiftState Shift, int X, int Y) {
  SetHot(InBox(X, Y));
  TCanvasCellEditor::MouseMove(Shift, X, Y);
}

void TCheckBoxEditor::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FMouseDown) {
    FMouseDown = false;
    if (GetCapture() == FHandle) ReleaseCapture();
    if (InBox(X, Y))
      SetChecked(!FChecked);
    else
      Invalidate();
  }
  TCanvasCellEditor::MouseUp(Button, Shift, X, Y);
}

void TCheckBoxEditor::MouseLeave() {
  SetHot(false);
  TCanvasCellEditor::MouseLeave();
}

void TCheckBoxEditor::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_SPACE) {
    FSpaceDown = true;
    Invalidate();
  }
  TCanvasCellEditor::KeyDown(Key, Shift);
}

void TCheckBoxEditor::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    SetChecked(!FChecked);
  }
  TCanvasCellEditor::KeyUp(Key, Shift);
}
