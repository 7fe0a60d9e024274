#pragma once
// A hint: a bordered flyout on the info-background colour showing a text, one line or wrapped to a
// width. Controls keep one per kind of hint and move it from place to place.
#include <string>

#include "toolkit/FlyoutControl.h"

class THintWindow : public TFlyoutControl {
 public:
  THintWindow();
  // The rectangle (at 0, 0) the text needs: one line, or wrapped when MaxWidth > 0 and it is wider.
  RECT CalcHintRect(int MaxWidth, const std::u16string& Text);
  // Shows Text in the screen rectangle (see CalcHintRect for its size).
  void ActivateHint(const RECT& ScreenRect, const std::u16string& Text);
  const std::u16string& HintText() const { return FText; }
  // Shown text wraps when it is wider than the window.
  bool WordWrap() const { return FWordWrap; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  LRESULT WndProc(UINT Message, WPARAM WParam, LPARAM LParam) override;
  void Paint() override;

 private:
  std::u16string FText;
  bool FWordWrap = false;
};
