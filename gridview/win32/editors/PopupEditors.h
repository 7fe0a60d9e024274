#pragma once
// Text editors with a button at their right end: the button editor raises OnButtonClick; the popup
// editors open a list (combo box) or a month calendar (date picker) below themselves and take the
// picked text. The drop-down list style shows no edit box and paints its text itself.
#include <memory>
#include <vector>

#include "gridview/win32/editors/EditorButtons.h"
#include "gridview/win32/editors/TextualEditor.h"
#include "gridview/win32/popups/PopupView.h"

class TImageList;

class TCustomButtonCellEditor : public TTextualEditor {
 public:
  TCustomButtonCellEditor();
  TSmallButton& Button() { return *FButton; }
  void AfterShow() override;

  TNotifyEvent OnButtonClick;

 protected:
  explicit TCustomButtonCellEditor(std::unique_ptr<TSmallButton> Button);
  // The button went down.
  virtual void ButtonPressed();
  int ButtonsWidth() override { return FButton->ButtonWidth(); }
  void LayoutControls() override;

 private:
  std::unique_ptr<TSmallButton> FButton;
};

class TPopupEditor : public TCustomButtonCellEditor {
 public:
  ~TPopupEditor() override;

  TDropDownStyle Style() const { return FStyle; }
  void SetStyle(TDropDownStyle Value);
  void SetDropDownStyle(TDropDownStyle Value) override { SetStyle(Value); }
  // No dotted focus frame in the drop-down list style.
  bool HideFocus() const { return FHideFocus; }
  void SetHideFocus(bool Value);

  // Opens the popup below the editor; from the keyboard it picks with the first click.
  void OpenPopup(bool FromKeyboard = false);
  void ClosePopup();
  bool PopupOpen() const { return !FPopup->Hidden(); }
  TPopupView& Popup() { return *FPopup; }

  bool WantsBackground() override { return FStyle != dsDropDownList; }
  void PaintContent() override;
  void SelectAll() override;

  TNotifyEvent OnPopupClose;

 protected:
  explicit TPopupEditor(std::unique_ptr<TPopupView> Popup);
  // Gives the popup what it shows (items, or the calendar's date and size).
  virtual void PreparePopup() = 0;
  // The popup picked Text: OnPopupClose, the popup hides, the editor takes the text.
  virtual void PopupPicked(const std::u16string& Text);
  // Keys while the popup is open: Enter picks what is chosen, arrows move the choice.
  virtual void PopupEnter() = 0;
  virtual bool PopupArrow(WORD Key) = 0;

  void ButtonPressed() override;
  bool EditorKeyFirst(WORD Key, TShiftState Shift) override;
  bool EditBoxVisible() const override { return FStyle == dsDropDown; }
  void EditExit() override;
  void DoEnter() override;
  void DoExit() override;
  void ApplicationDeactivated() override { ClosePopup(); }
  void VisibleChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  std::unique_ptr<TPopupView> FPopup;
  TDropDownStyle FStyle = dsDropDown;
  bool FHideFocus = false;
};

class TComboBoxEditor : public TPopupEditor {
 public:
  TComboBoxEditor();

  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) override { FDropDownCount = Value; }
  // Images show in the preview box and beside the list's lines.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* Value);
  void SetImages(TObject* Value) override;
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value) { FItemHeight = Value; }
  // Stored as given; an index within the items also copies that item's text into the editor.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  const std::vector<std::u16string>& Items() const { return FItems; }
  void SetItems(const std::vector<std::u16string>& Value) override;
  TPopupList& List() { return static_cast<TPopupList&>(Popup()); }
  // The grid's text also chooses the item it names, so the preview and the arrows start there.
  void SetAsText(const std::u16string& Value) override;

 protected:
  void PreparePopup() override;
  void PopupPicked(const std::u16string& Text) override;
  void PopupEnter() override { List().PickHotRow(); }
  bool PopupArrow(WORD Key) override;
  bool EditKeyDown(WORD Key, TShiftState Shift) override;
  bool EditMouseWheel(int Notches) override;
  void DrawPreview(TCanvas& Canvas, const RECT& Rect) override;

 private:
  int FDropDownCount = 8;
  TImageList* FImages = nullptr;
  int FItemHeight = 16;
  int FItemIndex = -1;
  std::vector<std::u16string> FItems;
};

class TDatePickerEditor : public TPopupEditor {
 public:
  TDatePickerEditor();

  // The text read as a date; an empty text, "0" or a text that is no date gives today.
  TDateTime Date() const;
  void SetDate(TDateTime Value) { SetAsDate(Value); }
  const std::u16string& EmptyText() const { return FEmptyText; }
  void SetEmptyText(const std::u16string& Value) { FEmptyText = Value; }
  const std::vector<std::u16string>& MonthNames() const { return FMonthNames; }
  void SetMonthNames(const std::vector<std::u16string>& Value) { FMonthNames = Value; }
  TDatePopup& Calendar() { return static_cast<TDatePopup&>(Popup()); }

  TDateTime GetAsDate() override { return Date(); }
  // The date in the locale's short date format.
  void SetAsDate(TDateTime Value) override;

 protected:
  void PreparePopup() override;
  void PopupEnter() override { Calendar().PickSelected(); }
  bool PopupArrow(WORD Key) override;

 private:
  std::u16string FEmptyText;
  std::vector<std::u16string> FMonthNames;
};
