#pragma once
// The small buttons of the cell editors: the ellipsis button of a button editor, the drop-down
// arrow of a popup editor, and the up/down pair of a spin editor; themed or classic.
#include "toolkit/Controls.h"

// A small custom-drawn button with pressed and hot flags. A press raises OnPress at once (the
// editor acts on the press); the release raises OnRelease only when the button was pressed.
class TSmallButton : public TCustomControl {
 public:
  explicit TSmallButton(TWinControl* Parent = nullptr);
  bool Pressed() const { return FPressed; }
  // The editor releases the button when the popup that the press opened goes.
  void SetPressed(bool Value);
  bool Hot() const { return FHot; }
  virtual int ButtonWidth() const = 0;

  TNotifyEvent OnPress;
  TNotifyEvent OnRelease;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // Themed state of the part: 3 pressed, 2 hot, 1 normal.
  int ThemeState() const { return FPressed ? 3 : FHot ? 2 : 1; }

 private:
  bool FPressed = false, FHot = false;
};

// "..." at the right end of a button editor.
class TExecuteButton : public TSmallButton {
 public:
  static constexpr int DefaultWidth = 21;
  using TSmallButton::TSmallButton;
  int ButtonWidth() const override { return DefaultWidth; }

 protected:
  void Paint() override;
};

// The drop-down arrow of a popup editor.
class TDropDownButton : public TSmallButton {
 public:
  static constexpr int DefaultWidth = 16;
  using TSmallButton::TSmallButton;
  int ButtonWidth() const override { return DefaultWidth; }

 protected:
  void Paint() override;
};

// Up and down halves; the upper half steps up. Pressing a half raises OnPress with it; the release
// raises OnRelease.
class TSpinButtons : public TCustomControl {
 public:
  enum THalf { shNone, shUp, shDown };
  using THalfEvent = std::function<void(TObject* Sender, THalf Half)>;

  explicit TSpinButtons(TWinControl* Parent = nullptr);
  // As wide as the platform's vertical scroll bar.
  static int ButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }
  THalf HalfAt(int Y) { return Y < ClientHeight() / 2 ? shUp : shDown; }
  THalf PressedHalf() const { return FPressed; }
  // Pressing from the keyboard looks the same as with the mouse.
  void SetPressedHalf(THalf Half);
  bool HalfHot(THalf Half) const { return FAllHot || FHotHalf == Half; }
  // The mouse over the editor makes both halves hot.
  void SetAllHot(bool Value);

  THalfEvent OnPress;
  TNotifyEvent OnRelease;

 protected:
  void CreateParams(TCreateParams& Params) override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseLeave() override;

 private:
  void Release();
  void PaintHalf(THalf Half, const RECT& Rect, bool Themed);
  THalf FPressed = shNone, FHotHalf = shNone;
  bool FAllHot = false;
};
