#pragma once
// A flat task-pane panel: one fill colour, optional one-pixel edge lines (bound lines), an inner
// border, an optional glyph and caption, and child controls inside the remaining area.
#include <functional>

#include "core/Alignment.h"
#include "taskpane/tpCore.h"
#include "taskpane/tpCoreUtils.h"
#include "toolkit/Bitmap.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TtpEnabledMode { emAffectChilds, emNormal };
enum TtpGlyphLayout { glBottom, glCenter, glTop };

using TtpPaintEvent = std::function<void(TObject* Sender, RECT& Rect, TCanvas& ACanvas, TFont& AFont)>;

class TtpCustomContainer : public TtpCustomControl {
 public:
  explicit TtpCustomContainer(TWinControl* Parent = nullptr);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TColor BoundColor() const { return FBoundColor; }
  void SetBoundColor(TColor Value);
  TtpBoundLines BoundLines() const { return FBoundLines; }
  void SetBoundLines(TtpBoundLines Value);
  TtpEnabledMode EnabledMode() const { return FEnabledMode; }
  void SetEnabledMode(TtpEnabledMode Value);
  bool Focusable() const { return FFocusable; }
  void SetFocusable(bool Value) { FFocusable = Value; }
  // The glyph is owned; change it in place and call GlyphChanged, or load it with SetGlyphResource.
  TBitmap& Glyph() { return FGlyph; }
  void GlyphChanged();
  TtpGlyphLayout GlyphLayout() const { return FGlyphLayout; }
  void SetGlyphLayout(TtpGlyphLayout Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool ShowBoundLines() const { return FShowBoundLines; }
  void SetShowBoundLines(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  // The area left for child controls: the client area less the border, the bound lines when shown,
  // and the glyph's width on the left.
  RECT ChildArea();
  // The border and the caption's spacing follow the density.
  void ChangeScale(int M, int D) override;

  TNotifyEvent OnEnabledChanged;
  TtpPaintEvent OnPaint;
  // Raised when the child area changed (resize, border, bound lines, glyph): owners place the
  // children there, as this toolkit has no automatic alignment.
  TNotifyEvent OnAlignChildren;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void DoEnabledChanged() override;
  void DoMouseDown() override;
  void DoPositionChanged() override;
  void DoSizeChanged() override;
  void Realign();

 private:
  void DrawCaption(RECT Rect);

  TAlignment FAlignment = taCenter;
  int FBorderWidth = 0;
  TColor FBoundColor = RGBColor(128, 128, 128);
  TtpBoundLines FBoundLines = 0;
  TtpEnabledMode FEnabledMode = emNormal;
  bool FFocusable = false;
  TBitmap FGlyph;
  TtpGlyphLayout FGlyphLayout = glCenter;
  TTextLayout FLayout = tlCenter;
  bool FShowBoundLines = true;
  bool FShowCaption = false;
  int FSpacing = 5;
  bool FWordWrap = false;
};

class TtpContainer : public TtpCustomContainer {
 public:
  using TtpCustomContainer::TtpCustomContainer;
};
