#pragma once
// Number editors: typed characters filtered, pasted text cleaned, the value kept within Min and Max
// and shown again in its own form (decimals, NullText, TextAfter) when the editor loses the focus;
// the spin editor adds up and down buttons that step by Increment, repeating while held.
#include "gridview/NumericText.h"
#include "gridview/win32/editors/EditorButtons.h"
#include "gridview/win32/editors/TextualEditor.h"
#include "toolkit/Timer.h"

class TNumericEditor : public TTextualEditor {
 public:
  TNumericEditor() = default;

  double Max() const { return FMax; }
  void SetMax(double Value) { FMax = Value; }
  double Min() const { return FMin; }
  void SetMin(double Value) { FMin = Value; }
  void SetBounds(double Min, double Max) override {
    FMin = Min;
    FMax = Max;
  }
  using TTextualEditor::SetBounds;
  // Shown for a value of 0 when not empty.
  const std::u16string& NullText() const { return FNullText; }
  void SetNullText(const std::u16string& Value);
  TEditOptions Options() const { return FOptions; }
  void SetOptions(TEditOptions Value) { FOptions = Value; }
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  const std::u16string& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const std::u16string& Value);
  // The text as a number within the bounds (0 when empty).
  double Value() const;
  void SetValue(double Value);
  // Shows the current value in the editor's own form.
  void ShowValue() { SetValue(Value()); }

  double GetAsFloat() override { return Value(); }
  // A typed number past Max or below Min is handed on as the bound, as the editor would show it.
  std::u16string GetAsText() override;
  void SetAsFloat(double Value) override { SetValue(Value); }

 protected:
  TNumericFormat Format() const;
  void CreateWnd() override;
  void EditKeyPress(wchar_t& Key) override;
  bool EditPaste() override;
  void EditExit() override;

 private:
  double FMax = 0, FMin = 0;
  std::u16string FNullText, FTextAfter;
  TEditOptions FOptions{eoAllowFloat, eoAllowSigns};
  int FPrecision = 2;
};

class TSpinEditor : public TNumericEditor {
 public:
  // The first repeat comes after FirstDelay ms, the next ones every RepeatDelay ms.
  static constexpr unsigned FirstDelay = 400, RepeatDelay = 20;

  TSpinEditor();
  ~TSpinEditor() override;

  double Increment() const { return FIncrement; }
  void SetIncrement(double Value) override { FIncrement = Value; }
  // One step; nothing when it would pass Max (counted when above 0) or go below Min.
  void StepUp();
  void StepDown();
  TSpinButtons& Buttons() { return FButtons; }
  // While a half is held: the repeat's next interval (0 when none runs), and one repeat.
  unsigned RepeatInterval() const { return FRepeat.Enabled() ? FRepeat.Interval() : 0; }
  void RepeatTick();

  int GetAsInteger() override;
  void SetAsInteger(int Value) override { SetValue(Value); }
  void AfterShow() override;

 protected:
  int ButtonsWidth() override { return TSpinButtons::ButtonWidth(); }
  void LayoutControls() override;
  bool EditKeyDown(WORD Key, TShiftState Shift) override;
  void EditKeyUp(WORD Key, TShiftState Shift) override;
  bool EditMouseWheel(int Notches) override;
  void HoverChanged(bool Inside) override { FButtons.SetAllHot(Inside); }

 private:
  void Press(TSpinButtons::THalf Half);
  void Release();
  void Step(TSpinButtons::THalf Half);
  void StepTo(double Next);

  double FIncrement = 1.0;
  TSpinButtons FButtons;
  TTimer FRepeat;
  TSpinButtons::THalf FHeld = TSpinButtons::shNone;
};
