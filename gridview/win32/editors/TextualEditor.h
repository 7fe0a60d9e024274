#pragma once
// The single-line text editor: a platform edit box placed at the editor's text rectangle (margins,
// vertical alignment, room for a preview box at the left and for buttons at the right). The box's
// keys, characters, wheel turns and pastes go to the editor, where the classes built on it (button,
// popup, numeric and spin editors) take what they need.
#include <memory>

#include "gridview/win32/editors/CellEditors.h"
#include "toolkit/Graphics.h"

// The pointer over the strip at an editor's left edge, where a press selects the whole text.
constexpr TCursor crReversedArrow = 3002;

class TTextualEditor : public TCellEditor {
 public:
  using TPreviewDrawEvent = std::function<void(TObject* Sender, TCanvas& Canvas, const RECT& Rect)>;
  static constexpr int PreviewWidth = 20, PreviewSpace = 27;
  // Width of the strip at the left edge where a press selects the whole text.
  static constexpr int SelectStrip = 2;

  // Made without a parent: the grid parents the editor when it opens it (a window made inside a
  // constructor would be made before the derived class could shape it).
  TTextualEditor();
  ~TTextualEditor() override;

  // Entering the editor selects the whole text.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // A box at the left, drawn by OnCustomPreviewDraw (the combo-box editor draws its image there).
  bool ShowPreview() const { return FShowPreview; }
  void SetShowPreview(bool Value);
  TPreviewDrawEvent OnCustomPreviewDraw;

  std::u16string EditText() const override;
  void SetEditText(const std::u16string& Value) override;
  void AfterShow() override;
  void ClearValue() override { SetEditText(u""); }
  void SelectAll() override;

  // Where the edit box lies in the client area, and the preview box.
  RECT TextRect();
  RECT PreviewRect();
  HWND EditHandle();
  int SelStart();
  int SelLength();
  void SetSelection(int Start, int Length);
  // Height of one line of text in the editor's font.
  int LineHeight();

 protected:
  class TEditBox;

  // Pixels at the right edge taken by buttons.
  virtual int ButtonsWidth() { return 0; }
  // Places the edit box (and, in the sub-classes, the buttons).
  virtual void LayoutControls();
  // Keys, as the box or (while the box is hidden) the editor receives them. EditorKeyFirst comes
  // before the grid hears of the key (an open popup takes Escape and Enter), EditKeyDown after it.
  virtual bool EditorKeyFirst(WORD /*Key*/, TShiftState /*Shift*/) { return false; }
  virtual bool EditKeyDown(WORD /*Key*/, TShiftState /*Shift*/) { return false; }
  virtual void EditKeyUp(WORD /*Key*/, TShiftState /*Shift*/) {}
  virtual void EditKeyPress(wchar_t& /*Key*/) {}
  // Whole notches of the wheel, up positive; true when used.
  virtual bool EditMouseWheel(int /*Notches*/) { return false; }
  // A paste into the box; true when the editor did it itself.
  virtual bool EditPaste() { return false; }
  virtual void EditEnter();
  virtual void EditExit() {}
  // The pointer came over or left the editor or one of its parts.
  virtual void HoverChanged(bool /*Inside*/) {}
  // The box shows the text; the drop-down list style hides it and paints the text itself.
  virtual bool EditBoxVisible() const { return true; }
  void UpdateEditBox();
  virtual void DrawPreview(TCanvas& Canvas, const RECT& Rect);

  void CreateWnd() override;
  void Resize() override;
  void FontChanged() override;
  void DoEnter() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
  bool MouseWheel(TShiftState Shift, int Delta, POINT ScreenPos) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool SetCursorFor(int HitTest) override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void PaintContent() override;
  // The pointer is within the editor's window (children included).
  bool PointerInside();
  void UpdateHover();

 private:
  void HandleKeyDown(WORD& Key, TShiftState Shift);
  void HandleKeyPress(wchar_t& Key);
  bool HandleWheel(int Delta);
  HBRUSH EditBrush();

  std::unique_ptr<TEditBox> FEdit;
  TGdiHandle<HBRUSH> FBrush;
  TColor FBrushColor = clNone;
  bool FAutoSelect = true, FReadOnly = false, FShowPreview = false, FHover = false;
  int FWheelRest = 0;
};
