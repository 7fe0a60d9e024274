#pragma once
// In-place cell editors. This header holds the base every editor derives from and the small
// interface through which an editor hands the grid the keys that end or leave the input; the
// concrete editors (text, numbers, spin, combo box, date picker, check box) build on it.
//
// How the grid uses an editor (one per editable column, made by the column, hidden until used):
//   1. it parents the editor to itself, sets Alignment, Margin (-1), VerticalAlignment, Color (the
//      cell's) and the font colour (the column font's), then calls the column's PrepareEditor;
//   2. SetAsText with the typed character or the cell's text; bounds over the cell; shown, focused,
//      AfterShow, and SelectAll when the column has coEditorAutoSelect;
//   3. while open, every change of the text raises OnEdit (the grid passes it on), and the keys
//      Enter, Escape and (with PassesArrowKeys) the arrows go to the host's EditorKeyDown first;
//   4. at the end it reads GetAsText back and hides the editor.
#include <string>

#include "core/DateTime.h"
#include "gridview/Columns.h"
#include "toolkit/Controls.h"

class TCellEditor;

// The grid side of an open editor.
class TCellEditorHost {
 public:
  virtual ~TCellEditorHost() = default;
  // A key pressed in the editor; true when the grid acted on it (the editor then ignores it).
  virtual bool EditorKeyDown(TCellEditor& Editor, WORD Key, TShiftState Shift) = 0;
  // The keyboard focus left the editor for a window outside it.
  virtual void EditorFocusLeft(TCellEditor& /*Editor*/) {}
};

class TCellEditor : public TCustomControl, public TColumnEditorLink {
 public:
  static constexpr int DefaultWidth = 121, DefaultHeight = 20;

  explicit TCellEditor(TWinControl* Parent = nullptr);
  // The window's bounds (four ints) and a numeric editor's limits (two doubles) share a name.
  using TColumnEditorLink::SetBounds;
  using TCustomControl::SetBounds;

  // Layout of the text; a change re-creates the window (the platform fixes these at creation).
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

  // The edited text. Editors that keep it in a child window override both.
  virtual std::u16string EditText() const { return FText; }
  virtual void SetEditText(const std::u16string& Value);

  // Escape discards the edit.
  bool WantsEscape() override { return true; }

  // Up and Down are left to the grid (combo-box and spin editors honour it).
  bool IgnoreArrowKeys() const { return FIgnoreArrowKeys; }
  void SetIgnoreArrowKeys(bool Value) override { FIgnoreArrowKeys = Value; }
  // Whether the arrow keys close the editor and move in the grid (check boxes).
  virtual bool PassesArrowKeys() const { return false; }

  // The grid the editor works for; null while it is not open.
  TCellEditorHost* Host() const { return FHost; }
  void SetHost(TCellEditorHost* Value) { FHost = Value; }

  // Typed values. The base converts through the text with the locale's conversions; booleans
  // are "True"/"False".
  virtual bool WantsBackground() { return true; }
  virtual void PaintContent() {}
  virtual bool GetAsBoolean();
  virtual TDateTime GetAsDate();
  virtual double GetAsFloat();
  virtual int GetAsInteger();
  virtual std::u16string GetAsText() { return EditText(); }
  virtual void SetAsBoolean(bool Value);
  virtual void SetAsDate(TDateTime Value);
  virtual void SetAsFloat(double Value);
  virtual void SetAsInteger(int Value);
  virtual void SetAsText(const std::u16string& Value) { SetEditText(Value); }
  // After the grid has shown and focused the editor.
  virtual void AfterShow() {}
  virtual void ClearValue() {}
  virtual void SelectAll() {}

  // The text changed (by the user or a setter).
  TNotifyEvent OnChange;
  // The text changed; the grid listens to this one.
  TNotifyEvent OnEdit;

 protected:
  // Raises OnChange, then OnEdit, and repaints.
  void TextChanged();
  // Gives the host the first say on a key; true when it took it. Editors whose keys arrive in a
  // child window call this from there.
  bool HostKeyDown(WORD& Key, TShiftState Shift);
  // The editor or a window in it lost the focus to To; the host hears of it when To lies outside.
  void FocusLeaving(HWND To);
  void KeyDown(WORD& Key, TShiftState Shift) override;
  UINT DialogCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS; }
  // A single border is the themed edit frame, one pixel wide, with themes; a sunken edge without.
  void CreateParams(TCreateParams& Params) override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  bool EraseBackground(HDC DC) override;
  void Paint() override;
  // Destroys and re-makes the window when it exists.
  void RecreateWindow();

 private:
  TAlignment FAlignment = taLeftJustify;
  int FMargin = 0;
  TVerticalAlignment FVerticalAlignment = vaMiddle;
  TBorderStyle FBorderStyle = bsSingle;
  std::u16string FText;
  bool FIgnoreArrowKeys = false;
  TCellEditorHost* FHost = nullptr;
};
