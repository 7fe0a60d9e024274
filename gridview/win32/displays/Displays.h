#pragma once
// Cell displays: one object per column paints the content of its cells (text, numbers, dates,
// images, progress bars, rates, check boxes, pictures and a small subset of HTML), and the check
// box column's play toggles its value on a click or the space key.
#include <string>
#include <vector>

#include "gridview/ColumnClasses.h"
#include "gridview/GridMetrics.h"
#include "gridview/HtmlText.h"
#include "gridview/win32/base/DrawProviders.h"

// What the grid tells a display about the cell it paints next.
struct TCellPaint {
  TCanvas* Canvas = nullptr;
  RECT CellRect{};
  HWND Window = nullptr;
  bool Themed = false;  // check boxes drawn with the platform's theme
  bool Selected = false;
  bool CurrentCell = false;
  bool RightToLeft = false;
  TColor HighlightedTextColor = clHighlightText;
  // The colour the grid filled the cell with, or clNone when a handler drew the background.
  TColor Background = clNone;
  TGridMetrics Metrics;  // the grid's pixel sizes at its density

  // Built by named steps, so that a call says what each value is: the cell on a canvas, then what
  // differs from the defaults above.
  static TCellPaint Of(TCanvas& Canvas, const RECT& Rect, HWND Window, const TGridMetrics& Metrics) {
    TCellPaint Cell;
    Cell.Canvas = &Canvas;
    Cell.CellRect = Rect;
    Cell.Window = Window;
    Cell.Metrics = Metrics;
    return Cell;
  }
  TCellPaint& ThemedChecks(bool Value) { return Themed = Value, *this; }
  TCellPaint& AsSelected(bool Value) { return Selected = Value, *this; }
  TCellPaint& AsCurrent(bool Value) { return CurrentCell = Value, *this; }
  TCellPaint& ReadRightToLeft(bool Value) { return RightToLeft = Value, *this; }
  TCellPaint& HighlightTextIn(TColor Value) { return HighlightedTextColor = Value, *this; }
  TCellPaint& FilledWith(TColor Value) { return Background = Value, *this; }
};

// The common part of displays: the cell being painted and the common text drawing.
class TColumnDisplay : public TVirtualColElement {
 public:
  using TVirtualColElement::TVirtualColElement;

  const TCellPaint& Cell() const { return FCell; }
  // The grid hands over the cell before it loads the value and paints.
  void SetCell(const TCellPaint& Value) { FCell = Value; }
  RECT ContentRect() const {
    const int Margin = FCell.Metrics.CellTextMargin();
    return RECT{FCell.CellRect.left + Margin, FCell.CellRect.top, FCell.CellRect.right - Margin, FCell.CellRect.bottom};
  }
  void DrawText(std::u16string_view Text, const RECT& Rect);
  void DrawHintMark();
  virtual void Paint() = 0;
  // Displays whose whole drawing is clipped text need no clip region of their own per cell.
  virtual bool ClipsItself() const { return false; }

 protected:
  TCellPaint FCell;
};

// Displays that draw one text through DrawText, which clips to the content rectangle.
class TTextDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  bool ClipsItself() const override { return true; }
};

class TTextualColumnDisplay : public TTextDisplay {
 public:
  using TTextDisplay::TTextDisplay;
  void Paint() override;
};

class TNumericColumnDisplay : public TTextDisplay {
 public:
  using TTextDisplay::TTextDisplay;
  void Paint() override;
};

class TIncrementColumnDisplay : public TTextDisplay {
 public:
  using TTextDisplay::TTextDisplay;
  void Paint() override;
};

class TDateColumnDisplay : public TTextDisplay {
 public:
  using TTextDisplay::TTextDisplay;
  void Paint() override;
};

class TImageColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void Paint() override;
};

class TProgressColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void Paint() override;
};

class TRateColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void Paint() override;

 private:
  TGlyphBitmap FFull, FEmpty;
};

class TCheckBoxColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void DrawCheck(const RECT& Rect, bool Checked, bool Pressed, bool Hot);
  void Paint() override;
};

class TGraphicColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void Paint() override;
};

class THtmlColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void Paint() override;

 private:
  void ApplyTag(const THtmlTag& Tag);
  void WriteText(std::u16string_view Run);

  // Nesting counters live as long as the display: an unclosed tag counts in the cells after it.
  int FBold = 0, FItalic = 0, FUnderline = 0, FAnchor = 0, FFont = 0;
  int FPenX = 0, FPenY = 0, FLineHeight = 0;
};

// The interaction element of a column: the grid hands it mouse clicks and keys in the column's
// cells; a change is reported through OnChange, on which the grid writes the value back.
class TColumnPlay : public TVirtualColElement {
 public:
  using TVirtualColElement::TVirtualColElement;
  RECT CellRect{};  // the cell, in the grid's client coordinates
  bool Themed = false;
  // X, Y in the grid's client coordinates; answers whether the play used the click.
  virtual bool MouseDown(int X, int Y) = 0;
  virtual bool KeyPress(char16_t Key) = 0;
  TNotifyEvent OnChange;
};

class TCheckBoxColumnPlay : public TColumnPlay {
 public:
  using TColumnPlay::TColumnPlay;
  // The check box square relative to the cell's top-left corner.
  RECT CheckArea() const;
  bool MouseDown(int X, int Y) override;
  bool KeyPress(char16_t Key) override;

 private:
  void Toggle();
};

// Registers the display and play classes above with the column kinds (once per process).
void RegisterGridDisplayClasses();
