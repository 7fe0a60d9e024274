#include "gridview/win32/editors/NumericEditors.h"

#include "core/Conversions.h"
#include "platform/win32/WideText.h"

namespace {
std::u16string ClipboardText(HWND Owner) {
  std::u16string Text;
  if (!OpenClipboard(Owner)) return Text;
  if (HANDLE Data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* Chars = static_cast<const wchar_t*>(GlobalLock(Data))) {
      Text = ToU16(Chars);
      GlobalUnlock(Data);
    }
  }
  CloseClipboard();
  return Text;
}
}  // namespace

// Numeric editor.

TNumericFormat TNumericEditor::Format() const {
  TNumericFormat Format;
  Format.Options = FOptions;
  Format.Precision = FPrecision;
  Format.Min = FMin;
  Format.Max = FMax;
  Format.NullText = FNullText;
  Format.TextAfter = FTextAfter;
  Format.Decimal = DecimalSeparatorUnit();
  return Format;
}

double TNumericEditor::Value() const { return NumericTextValue(EditText(), Format()); }

void TNumericEditor::SetValue(double Value) { SetEditText(FormatNumericValue(Value, Format())); }

std::u16string TNumericEditor::GetAsText() {
  const std::u16string Text = EditText();
  // An emptied editor stays empty: no value, not a made-up 0.
  if (FOptions.Contains(eoAllowAll) || Text.empty()) return Text;
  return FormatNumericValue(Value(), Format());
}

// The value is read in the old form and shown in the new one.
void TNumericEditor::SetNullText(const std::u16string& Value) {
  const double Current = this->Value();
  FNullText = Value;
  SetValue(Current);
}

void TNumericEditor::SetPrecision(int Value) {
  const double Current = this->Value();
  FPrecision = Value;
  SetValue(Current);
}

void TNumericEditor::SetTextAfter(const std::u16string& Value) {
  const double Current = this->Value();
  FTextAfter = Value;
  SetValue(Current);
}

void TNumericEditor::CreateWnd() {
  TTextualEditor::CreateWnd();
  ShowValue();
}

void TNumericEditor::EditKeyPress(wchar_t& Key) {
  const TEditState Edit{EditText(), SelStart(), SelLength()};
  if (!NumericKeyAccepted(static_cast<char16_t>(Key), Edit, FOptions, DecimalSeparatorUnit())) Key = 0;
}

bool TNumericEditor::EditPaste() {
  if (FOptions.Contains(eoAllowAll)) return false;
  const TEditState Edit{EditText(), SelStart(), SelLength()};
  const TEditState Pasted = PasteNumericText(Edit, ClipboardText(Handle()), Format());
  SetEditText(Pasted.Text);
  SetSelection(Pasted.SelStart, 0);
  return true;
}

void TNumericEditor::EditExit() {
  TTextualEditor::EditExit();
  if (!FOptions.Contains(eoAllowAll)) ShowValue();
}

// Spin editor.

TSpinEditor::TSpinEditor() : FButtons(this) {
  SetPrecision(0);
  FRepeat.SetEnabled(false);
  FRepeat.OnTimer = [this](TObject*) { RepeatTick(); };
  FButtons.OnPress = [this](TObject*, TSpinButtons::THalf Half) { Press(Half); };
  FButtons.OnRelease = [this](TObject*) { Release(); };
  FButtons.OnMouseLeave = [this](TObject*) { UpdateHover(); };
  FButtons.OnMouseEnter = [this](TObject*) { UpdateHover(); };
}

TSpinEditor::~TSpinEditor() { FRepeat.SetEnabled(false); }

void TSpinEditor::StepUp() {
  const double Next = Value() + FIncrement;
  if (Max() > 0 && Next > Max()) return;
  StepTo(Next);
}

void TSpinEditor::StepDown() {
  const double Next = Value() - FIncrement;
  if (Next < Min()) return;
  StepTo(Next);
}

void TSpinEditor::StepTo(double Next) {
  SetValue(Next);
  // The caret stays after the number, where typing goes on, not at the start the new text puts it.
  TTextualEditor::AfterShow();
}

void TSpinEditor::Step(TSpinButtons::THalf Half) {
  if (Half == TSpinButtons::shUp) StepUp();
  if (Half == TSpinButtons::shDown) StepDown();
}

void TSpinEditor::Press(TSpinButtons::THalf Half) {
  FHeld = Half;
  FButtons.SetPressedHalf(Half);
  Step(Half);
  FRepeat.SetInterval(FirstDelay);
  FRepeat.SetEnabled(true);
}

void TSpinEditor::RepeatTick() {
  if (FHeld == TSpinButtons::shNone) {
    FRepeat.SetEnabled(false);
    return;
  }
  FRepeat.SetInterval(RepeatDelay);
  Step(FHeld);
}

void TSpinEditor::Release() {
  FHeld = TSpinButtons::shNone;
  FRepeat.SetEnabled(false);
  FButtons.SetPressedHalf(TSpinButtons::shNone);
}

int TSpinEditor::GetAsInteger() { return RoundToInt(Value()); }

void TSpinEditor::AfterShow() {
  TNumericEditor::AfterShow();
  FButtons.Invalidate();
}

void TSpinEditor::LayoutControls() {
  TNumericEditor::LayoutControls();
  const RECT Client = ClientRect();
  const int Width = TSpinButtons::ButtonWidth();
  FButtons.SetBounds(Client.right - Width, 0, Width, Client.bottom);
}

bool TSpinEditor::EditKeyDown(WORD Key, TShiftState) {
  if ((Key != VK_UP && Key != VK_DOWN) || IgnoreArrowKeys()) return false;
  const TSpinButtons::THalf Half = Key == VK_UP ? TSpinButtons::shUp : TSpinButtons::shDown;
  // The keyboard's own repeat is not a new press: the timer repeats.
  if (FHeld != Half) Press(Half);
  return true;
}

void TSpinEditor::EditKeyUp(WORD Key, TShiftState) {
  if ((Key == VK_UP && FHeld == TSpinButtons::shUp) || (Key == VK_DOWN && FHeld == TSpinButtons::shDown)) Release();
}

bool TSpinEditor::EditMouseWheel(int Notches) {
  for (; Notches > 0; --Notches) StepUp();
  for (; Notches < 0; ++Notches) StepDown();
  return true;
}
