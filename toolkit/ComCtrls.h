#pragma once
// Common controls, wrapped: date picker, status bar with panels, progress bar.
#include <string>
#include <vector>

#include "core/Alignment.h"
#include "core/DateTime.h"
#include "platform/win32/OwnedHandle.h"
#include "toolkit/StdCtrls.h"

// A drop-down date field.
class TDateTimePicker : public TStdControl {
 public:
  explicit TDateTimePicker(TWinControl* Parent = nullptr);
  // The date shown, at midnight.
  TDateTime Date();
  void SetDate(TDateTime Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void FontChanged() override;
  void Resize() override;

 private:
  // Keeps the whole date in sight at the control's width (see the source).
  void FitText();

  TDateTime FDate = 0.0;
  TFont FFitFont;
};

enum TStatusPanelStyle { psText, psOwnerDraw };

struct TStatusPanel {
  int Width = 50;
  TAlignment Alignment = taLeftJustify;
  TStatusPanelStyle Style = psText;
  // Kept for an owner-drawn panel too, where it is not painted.
  std::string Text;
};

// The bar at the bottom of a window, split into panels; the last one reaches the right edge. A text
// panel is at least as wide as it was added (scaled with the bar) and wider when its text needs more,
// in the bar's font at its density. An owner-drawn panel is painted by OnDrawPanel (its background
// alone when there is none).
class TStatusBar : public TStdControl {
 public:
  using TDrawPanelEvent = std::function<void(TStatusBar* Sender, int Panel, const RECT& Rect, HDC DC)>;

  explicit TStatusBar(TWinControl* Parent = nullptr);
  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  const TStatusPanel& Panel(int Index) const { return FPanels.at(static_cast<std::size_t>(Index)); }
  void AddPanel(int Width, TAlignment Alignment, TStatusPanelStyle Style = psText);
  void SetPanelText(int Index, const std::string& Text);
  // A panel's box in the bar's client coordinates.
  RECT PanelRect(int Index);
  // Paints a panel's text into Rect as the bar paints its text panels: for an owner-drawn panel
  // whose text is to show (OnDrawPanel decides when).
  void DrawPanelText(int Index, const RECT& Rect, HDC DC);
  TDrawPanelEvent OnDrawPanel;
  // The panels' widths scale with the bar.
  void ChangeScale(int M, int D) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool DrawItem(const DRAWITEMSTRUCT& Item) override;
  void FontChanged() override;

 private:
  void ApplyParts();
  void ApplyText(int Index);
  // The width a panel takes: its own, or what its text needs when that is more.
  int ShownWidth(const TStatusPanel& Panel);

  // The room a panel's text needs beyond its own width, at 96 pixels per inch: the panel's edges and
  // the margins the bar leaves on either side of the text.
  static constexpr int TextMargin = 12;

  std::vector<TStatusPanel> FPanels;
  std::vector<int> FEdges;  // the right edges last handed to the bar
};

// A progress bar: Position runs from Min to Max; StepIt adds Step and starts again from the beginning
// after passing the end.
class TProgressBar : public TStdControl {
 public:
  explicit TProgressBar(TWinControl* Parent = nullptr);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  void SetRange(int Min, int Max);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Step() const { return FStep; }
  void SetStep(int Value) { FStep = Value; }
  void StepIt();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
};

// A tip of one text that shows while the mouse rests on the windows it was given (a combo box and
// its edit field, say). Its own window is made with the first one and goes with the object; keep
// it after the controls it describes, so that it goes first.
class TToolTip {
 public:
  TToolTip() = default;
  TToolTip(const TToolTip&) = delete;
  TToolTip& operator=(const TToolTip&) = delete;

  void SetText(const std::string& Text);
  // Shows the text over Window from now on; nothing when the tip cannot be made.
  void Add(HWND Window);
  HWND Handle() const { return FWindow.Get(); }

 private:
  TOwnedHandle<HWND, DestroyWindow> FWindow;
  std::wstring FText;
};
