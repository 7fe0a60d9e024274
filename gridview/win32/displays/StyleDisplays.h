#pragma once
// Header, footer and input-row painters: one object per header style draws one cell at a time,
// the empty header areas and the sort arrow.
#include "core/Object.h"
#include "gridview/Columns.h"
#include "gridview/win32/base/DrawProviders.h"

// What a style display asks of the control that owns it (the grid, or a column drag box).
class TStyleDisplayOwner {
 public:
  virtual ~TStyleDisplayOwner() = default;
  virtual TColor OwnerColor() = 0;
  virtual HWND OwnerWindow() = 0;
  // The header cell held down by the mouse, and the one under it (hot tracking); null for none.
  virtual TCustomColumn* PressedHeaderColumn() = 0;
  virtual TCustomColumn* HotHeaderColumn() = 0;
  // The current column (input row colours) and whether the owner has the focus.
  virtual TCustomColumn* CurrentInputColumn() = 0;
  virtual bool OwnerFocused() = 0;
};

enum TStyleCapability { scHotTracking = 0, scPressedInversion = 1 };
using TStyleCapabilities = TSet<TStyleCapability>;

// What a header style is told before it paints: where and how.
struct TStylePaint {
  TCanvas* Canvas = nullptr;
  bool Themed = false;       // header frames drawn with the platform's theme
  bool RightToLeft = false;  // captions in right-to-left reading order
  bool Decorations = true;   // sort arrows, glyphs and the pressed look (a dragged header shows none)
};

class TStyleDisplay : public TObject {
 public:
  explicit TStyleDisplay(TStyleDisplayOwner* Owner) : FOwner(Owner) {}

  const TStylePaint& Paint() const { return FPaint; }
  void SetPaint(const TStylePaint& Paint) { FPaint = Paint; }

  virtual int HeaderTextIndent(const TCustomColumn& Column);
  virtual TStyleCapabilities Capabilities() { return {}; }
  virtual void DrawSortArrow(int X, int Y, bool Ascending);
  virtual void DrawHeaderContent(TCustomColumn& Column, const RECT& Rect);
  virtual void DrawEmptyHeader(const RECT& Rect);
  virtual void DrawFooterCell(TCustomColumn& Column, const RECT& Rect, bool GridLines);
  virtual void DrawHeaderCell(TCustomColumn& Column, const RECT& Rect) { DrawHeaderContent(Column, Rect); }
  virtual void DrawInputCell(TCustomColumn& Column, const RECT& Rect, bool Focused, bool InputActive, bool GridLines);
  virtual void DrawHeaderTail(const RECT& Rect);
  // Copies nothing: every style display is configured by its owner.
  void Assign(const TStyleDisplay&) {}

  TStyleDisplayOwner* Owner() const { return FOwner; }

 protected:
  void ApplyFont(const TCustomColumn& Column);
  void InvertPressed(TCustomColumn& Column, const RECT& Rect);

  TStyleDisplayOwner* FOwner;
  TStylePaint FPaint;
  TGlyphBitmap FGlyph;
};

class TDefaultStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  TStyleCapabilities Capabilities() override;
  void DrawEmptyHeader(const RECT& Rect) override;
  void DrawHeaderCell(TCustomColumn& Column, const RECT& Rect) override;
  void DrawHeaderTail(const RECT& Rect) override;
  virtual void DrawHeaderFrame(TCustomColumn& Column, const RECT& Rect);
  virtual void DrawThemedHeaderFrame(TCustomColumn& Column, const RECT& Rect);
};

class TFlatStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  void DrawEmptyHeader(const RECT& Rect) override;
  void DrawHeaderCell(TCustomColumn& Column, const RECT& Rect) override;
  virtual void DrawHeaderFrame(TCustomColumn& Column, const RECT& Rect);

 private:
  void DrawFlatLines(const RECT& Rect);
};

class TOldStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  TStyleCapabilities Capabilities() override { return {scPressedInversion}; }
  void DrawEmptyHeader(const RECT& Rect) override;
  void DrawHeaderCell(TCustomColumn& Column, const RECT& Rect) override;
};
