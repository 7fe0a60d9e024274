#pragma once
// The platform's standard controls, wrapped: label, edit field, combo box (with an edit field or as a
// drop-down list), check box and push button. Each subclasses the platform's class, so its messages
// reach the toolkit's handlers, and its notifications come back to it from the parent.
#include <string>
#include <vector>

#include "toolkit/Controls.h"

// The base of every wrapped platform control: no control-parent style (the dialog manager must not
// look inside it), nothing clipped away from its own children.
class TStdControl : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

// A static text. "&" marks its accelerator: Alt with that letter focuses FocusControl.
class TLabel : public TStdControl {
 public:
  explicit TLabel(TWinControl* Parent = nullptr);
  TWinControl* FocusControl = nullptr;
  // Sizes the label to its caption in its font; a label sized so is sized again when it is scaled.
  void AdjustSize();
  bool WantsAccelerator(wchar_t Char) override;
  void ChangeScale(int M, int D) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  bool FAutoSized = false;
};

// Gives a field the focus as the dialog manager does: an edit field's text comes selected.
void FocusField(TWinControl& Control);

// A one-line edit field.
class TEdit : public TStdControl {
 public:
  explicit TEdit(TWinControl* Parent = nullptr);
  void SelectAll();
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool CommandNotify(WORD Code) override;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A combo box: an edit field with a drop-down list of items (csDropDown), or a drop-down list alone
// (csDropDownList). The keys typed into its edit field reach its own key handlers.
class TComboBox : public TStdControl {
 public:
  explicit TComboBox(TWinControl* Parent = nullptr, TComboBoxStyle Style = csDropDown);

  TComboBoxStyle Style() const { return FStyle; }
  const std::vector<std::string>& Items() const { return FItems; }
  void SetItems(const std::vector<std::string>& Items);
  void ClearItems() { SetItems({}); }
  int ItemIndex();
  void SetItemIndex(int Index);
  // Items shown by the open drop-down before it scrolls.
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Count);
  bool DroppedDown();
  void SetDroppedDown(bool Value);
  bool WantsEscape() override { return DroppedDown(); }
  // The edit field inside a csDropDown box (null for a list alone or before the window exists).
  HWND EditHandle();
  // The platform sizes a closed box by its font alone; a scaled box is made as tall as its scaled
  // height instead, so that it lines up with the edit fields beside it.
  void ChangeScale(int M, int D) override;

  // An item was chosen from the list (the text already shows it).
  TNotifyEvent OnSelect;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Resize() override;
  bool CommandNotify(WORD Code) override;

 private:
  static LRESULT CALLBACK EditProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR Id,
                                   DWORD_PTR Data);
  // A key message of the edit field, handed to the box's handlers; true when they consumed it.
  bool EditKey(UINT Message, WPARAM& WParam);
  void LoadItems();
  void ApplyDropDownHeight();
  void ApplyClosedHeight();

  TComboBoxStyle FStyle;
  std::vector<std::string> FItems;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  int FClosedHeight = 0;  // wanted height of the closed box; 0: the platform's own
  bool FSizing = false;
};

// A check box that toggles itself on a click.
class TCheckBox : public TStdControl {
 public:
  explicit TCheckBox(TWinControl* Parent = nullptr);
  bool Checked();
  void SetChecked(bool Value);
  bool WantsAccelerator(wchar_t Char) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool CommandNotify(WORD Code) override;

 private:
  bool FChecked = false;
};

// A push button; OnClick runs on a click, Space, or Alt with its accelerator.
class TButton : public TStdControl {
 public:
  explicit TButton(TWinControl* Parent = nullptr);
  // Clicks the button as the user would (nothing while it is disabled).
  void PerformClick();
  bool WantsAccelerator(wchar_t Char) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool CommandNotify(WORD Code) override;
};
