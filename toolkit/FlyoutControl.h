#pragma once
// A small borderless window that floats above everything without taking the activation: the base of
// hint windows, drag images and markers. Its bounds are in screen coordinates. It is shown and hidden
// with ShowFlyout and HideFlyout only (the control's Visible stays false, since showing a top-level
// window the ordinary way would activate it).
#include "toolkit/Controls.h"

class TFlyoutControl : public TCustomControl {
 public:
  TFlyoutControl();
  // Shows the window at its bounds, on top, without activating it.
  void ShowFlyout();
  void HideFlyout();
  // Asked of the window itself: a flyout whose window was destroyed meanwhile is not showing.
  bool FlyoutShowing() const { return FHandle && IsWindowVisible(FHandle); }

 protected:
  void CreateParams(TCreateParams& Params) override;
};
