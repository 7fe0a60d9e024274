#pragma once
// The popups of the drop-down cell editors: a top-most tool window shown below the editor that holds
// the mouse while it is open (and lets it go while the pointer is over it, so that its own parts,
// such as its scroll bar, work), a list of lines, and a month calendar with two small buttons.
#include <functional>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "gridview/win32/base/ScrollView.h"

class TImageList;

class TPopupView : public TScrollView {
 public:
  using TPickEvent = std::function<void(TObject* Sender, const std::u16string& Text)>;
  // The border: dark 3D shadow outside, white inside; it lies outside the client area.
  static constexpr int BorderWidth = 2;

  TPopupView();
  ~TPopupView() override;

  // Shows the popup top-most at the screen point (moved left to stay on the screen) and takes the mouse.
  virtual void ShowAt(int X, int Y);
  // Hides the popup, lets the mouse go and raises OnClose.
  void ClosePopup();
  // Picks what lies under the client point, each popup in its own way, through Pick.
  virtual void PickAt(int X, int Y) = 0;

  bool Hidden() const { return FHidden; }
  // Armed by the first button release after showing: only later releases pick or close.
  bool Armed() const { return FArmed; }
  // For a popup opened from the keyboard no release of the opening press is coming.
  void Arm() { FArmed = true; }
  // Height of the window for a client area of Height pixels.
  void SetClientHeight(int Height) { SetHeight(Height + 2 * BorderWidth); }

  TNotifyEvent OnClose;
  TPickEvent OnPick;

 protected:
  void CreateParams(TCreateParams& Params) override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // Raises OnPick with the picked text.
  void Pick(const std::u16string& Text);
  bool InClient(int X, int Y);

 private:
  // The pointer over the window (border and scroll bar included).
  bool PointerOver();
  // Lets the mouse go while the pointer is over the popup, takes it back when it leaves.
  void FollowPointer(bool NonClient);
  void PaintBorder();

  bool FHidden = true, FArmed = false;
};

// A list of lines, one of them hot (under the mouse, or chosen on opening).
class TPopupList : public TPopupView {
 public:
  TPopupList();

  // The lines belong to the editor; the list only reads them.
  const std::vector<std::u16string>& Items() const { return *FItems; }
  void SetItems(const std::vector<std::u16string>* Items);
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* Value) { FImages = Value; }
  bool ShowImages() const { return FShowImages; }
  void SetShowImages(bool Value) { FShowImages = Value; }
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);  // 0 or less becomes 1
  int HotRow() const { return FHotRow; }
  // The row last picked in this list.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value) { FItemIndex = Value; }
  // The editor's text, which chooses the hot row when the item index does not.
  const std::u16string& EditorText() const { return FEditorText; }
  void SetEditorText(const std::u16string& Value) { FEditorText = Value; }

  void ShowAt(int X, int Y) override;
  void PickAt(int X, int Y) override;
  int TopRow() { return VertScrollBar().Position(); }
  int VisibleRows();
  // The row under a client y (may lie past the last item).
  int RowAt(int Y) { return (Y >= 0 ? Y / FItemHeight : -1) + TopRow(); }
  // Keyboard use by the editor: move the hot row, pick it.
  void MoveHotRow(int Delta);
  void PickHotRow();

 protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void PositionChanged(TScrollBarKind) override { Invalidate(); }

 private:
  void SetHotRow(int Row);
  void ScrollToHotRow();
  void InvalidateRow(int Row);

  static const std::vector<std::u16string> NoItems;
  const std::vector<std::u16string>* FItems = &NoItems;
  TImageList* FImages = nullptr;
  bool FShowImages = false;
  int FItemHeight = 16;
  int FHotRow = 0, FItemIndex = 0;
  std::u16string FEditorText;
};

// A month calendar: title band with month navigation, day-of-week headings, six weeks of days
// starting on Sunday, and the buttons "Today" and "None".
class TDatePopup : public TPopupView {
 public:
  // The calendar's own push button, drawn on the calendar's canvas.
  class TSmallButton {
   public:
    TSmallButton(TCustomControl& Owner, std::u16string Caption, const RECT& Bounds)
        : FOwner(Owner), FCaption(std::move(Caption)), FBounds(Bounds) {}
    const RECT& BoundsRect() const { return FBounds; }
    const std::u16string& Caption() const { return FCaption; }
    bool Pressed() const { return FPressed; }
    bool Contains(int X, int Y) const {
      return X >= FBounds.left && X < FBounds.right && Y >= FBounds.top && Y < FBounds.bottom;
    }
    void Paint(TCanvas& Canvas, bool Themed);
    void MouseDown();
    // Releases the button; the click follows when the point is on it.
    void MouseUp(int X, int Y);
    TNotifyEvent OnClick;

   private:
    TCustomControl& FOwner;
    std::u16string FCaption;
    RECT FBounds;
    bool FPressed = false;
  };

  static constexpr int Columns = 7, Rows = 6, CellWidth = 17, CellHeight = 15, GridLeft = 14, GridTop = 36;
  static constexpr int PopupWidth = 151, PopupHeight = 163;

  TDatePopup();

  TDateTime Date() const;
  void SetDate(TDateTime Value);
  int Day() const { return FDay; }
  void SetDay(int Value);
  int Month() const { return FMonth; }
  void SetMonth(int Value);
  int Year() const { return FYear; }
  void SetYear(int Value);
  // Twelve lines name the months; any other count leaves the English names.
  const std::vector<std::u16string>& MonthNames() const { return FMonthNames; }
  void SetMonthNames(const std::vector<std::u16string>& Value);
  TDateTime SelectedDate() const { return FSelectedDate; }
  void SetSelectedDate(TDateTime Value);

  void PickAt(int X, int Y) override;
  // Keyboard use by the editor: move the selected day (showing its month), pick it.
  void MoveSelection(int Days);
  void PickSelected();
  void PreviousMonth();
  void NextMonth();
  std::u16string Title() const;
  // The day shown in a cell of the 7 x 6 grid, and the cell's rectangle.
  TDateTime CellDate(int Column, int Row) const;
  static RECT CellRect(int Column, int Row);
  // The cell under a client point of the mouse's day area; false outside it.
  bool CellAt(int X, int Y, int& Column, int& Row);
  TSmallButton& TodayButton() { return FToday; }
  TSmallButton& NoneButton() { return FNone; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void PaintTitle(TCanvas& Canvas, bool Themed);
  void PaintDays(TCanvas& Canvas, bool Themed);
  void SelectCellAt(int X, int Y);
  void InvalidateDate(TDateTime Value);
  void ShowMonth(int Year, int Month);

  int FDay = 1, FMonth = 1, FYear = 1;
  std::vector<std::u16string> FMonthNames;
  TDateTime FSelectedDate = 0;
  bool FSelecting = false;
  TSmallButton FToday, FNone;
};
