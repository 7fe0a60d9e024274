#pragma once
// Editors drawn wholly on their own canvas, and the check box among them: toggled by a mouse release
// inside the box or the release of the space key; its text is "True" or "False".
#include "gridview/win32/editors/CellEditors.h"

class TCanvasCellEditor : public TCellEditor {
 public:
  bool WantsBackground() override { return false; }
};

class TCheckBoxEditor : public TCanvasCellEditor {
 public:
  TCheckBoxEditor();

  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  // Drawn pressed, as a third state.
  bool Grayed() const { return FGrayed; }
  void SetGrayed(bool Value);
  // The box as it is drawn in the client area.
  RECT BoxRect();
  bool BoxHot() const { return FHot; }
  bool BoxPressed() const { return FMouseDown || FSpaceDown || FGrayed; }

  bool PassesArrowKeys() const override { return true; }
  void PaintContent() override;
  bool GetAsBoolean() override { return FChecked; }
  std::u16string GetAsText() override { return FChecked ? u"True" : u"False"; }
  void SetAsBoolean(bool Value) override { SetChecked(Value); }
  void SetAsText(const std::u16string& Value) override;
  void AfterShow() override { Repaint(); }
  void ClearValue() override { SetChecked(false); }

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;

 private:
  bool InBox(int X, int Y);
  void SetHot(bool Value);

  bool FChecked = false, FGrayed = false, FHot = false, FMouseDown = false, FSpaceDown = false;
};
