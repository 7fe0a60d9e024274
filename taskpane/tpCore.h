#pragma once
// The base of every task-pane control: a draw state that follows the mouse and the focus, a set of
// events after which the control repaints, a repaint lock, accelerators and clicks. Each window event
// ends in a "Do" hook that derived controls override.
#include <string>

#include "toolkit/Controls.h"

enum TtpDrawStateFlag : unsigned { dsDefault = 1, dsHighlight = 2, dsClicked = 4, dsFocused = 8 };
using TtpDrawState = unsigned;

// The events after which a control may repaint itself, in their declared order (16 bits).
enum TtpRepaintTrigger : unsigned {
  rtTextChanged = 1u << 0,
  rtBorderChanged = 1u << 1,
  rtEnabledChanged = 1u << 2,
  rtFocusChanged = 1u << 3,
  rtMouseDown = 1u << 4,
  rtMouseEnter = 1u << 5,
  rtMouseLeave = 1u << 6,
  rtMouseMove = 1u << 7,
  rtMouseUp = 1u << 8,
  rtParentColorChanged = 1u << 9,
  rtParentFontChanged = 1u << 10,
  rtPositionChanged = 1u << 11,
  rtSizeChanged = 1u << 12,
};
using TtpRepaintTriggers = unsigned;

constexpr TtpRepaintTriggers tpDefaultRepaintTriggers = rtTextChanged | rtEnabledChanged | rtFocusChanged |
                                                        rtMouseDown | rtMouseEnter | rtMouseLeave | rtMouseUp |
                                                        rtParentColorChanged;

class TtpCustomControl : public TCustomControl {
 public:
  explicit TtpCustomControl(TWinControl* Parent = nullptr);

  TtpDrawState DrawState() const { return FDrawState; }
  TtpRepaintTriggers RepaintTriggers() const { return FRepaintTriggers; }
  void SetRepaintTriggers(TtpRepaintTriggers Triggers) { FRepaintTriggers = Triggers & 0xFFFFu; }
  bool Locked() const { return FLocked; }
  // Copied to the form's modal result on every click; this toolkit's forms keep no modal result, so
  // it is only kept here for owners that read it.
  int ModalResult = 0;
  // Identification of the control library, ending in its version; assigning it changes nothing.
  std::string Version() const;
  void SetVersion(const std::string&) {}

  virtual void Redraw();
  virtual void BeginUpdate();
  virtual void EndUpdate();

  // The form offers a typed character as a dialog character (Alt+letter): answers whether this
  // control took it as its accelerator and clicked itself.
  bool DialogChar(wchar_t Char);
  // Clicks the control as a left-button click inside it would.
  void PerformClick() { Click(); }
  // Sets the colour (ending ParentColor) and tells the task-pane controls inside, which may show it.
  void SetColor(TColor Color);
  // With ParentColor on (the default) the control takes its parent's colour and follows a task-pane
  // parent's changes.
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);

 protected:
  virtual void DoBorderChanged();
  virtual void DoEnabledChanged();
  virtual void DoFocusChanged();
  virtual void DoMouseDown();
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual void DoMouseMove(int X, int Y);
  virtual void DoMouseUp();
  virtual void DoParentColorChanged();
  virtual void DoParentFontChanged();
  virtual void DoPositionChanged();
  virtual void DoSizeChanged();
  virtual void DoTextChanged();

  void RedrawOn(TtpRepaintTrigger Trigger) {
    if (FRepaintTriggers & Trigger) Redraw();
  }
  void Include(TtpDrawStateFlag Flag) { FDrawState |= Flag; }
  void Exclude(TtpDrawStateFlag Flag) { FDrawState &= ~unsigned(Flag); }
  bool Clicking() const { return FClicking; }

  // Task-pane controls paint their whole area from their size, so a resize repaints all of it.
  void CreateParams(TCreateParams& Params) override;
  // The window events, each handed on to its hook after the toolkit's own handling.
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DoEnter() override;
  void DoExit() override;
  void EnabledChanged() override;
  void FontChanged() override;
  void Resize() override;
  void Click() override;

 private:
  void ApplyColor(TColor Color);

  bool FClicking = false;
  bool FParentColor = true;
  TtpDrawState FDrawState = dsDefault;
  bool FLocked = false;
  TtpRepaintTriggers FRepaintTriggers = tpDefaultRepaintTriggers;
};
