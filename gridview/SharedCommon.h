#pragma once
// The arithmetic half of the grid family's drawing helpers: placing boxes in rectangles, growing
// and shrinking rectangles, mixing colours, and HTML colour names. Portable; the Win32 side draws
// with them (gridview/win32/base/DrawProviders.h).
#include <string>

#include "core/Color.h"
#include "gridview/GridTypes.h"

// Laid out like the platform's RECT, so the window side converts without thinking.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const TGridRect& O) const {
    return Left == O.Left && Top == O.Top && Right == O.Right && Bottom == O.Bottom;
  }
};

struct TGridPoint {
  int X = 0, Y = 0;
  bool operator==(const TGridPoint& O) const { return X == O.X && Y == O.Y; }
};

// Geometry and arithmetic; never instantiated.
class TCalcProvider {
 public:
  TCalcProvider() = delete;
  // Part as a percentage of Whole. Whole must not be zero: callers guard it.
  static double Percent(double Whole, double Part) { return Part / Whole * 100.0; }
  // Rectangles that share only an edge still touch.
  static bool RectsTouch(const TGridRect& A, const TGridRect& B);
  // Top-left corner of a Width x Height box placed in Rect; centring ignores the margin.
  static TGridPoint AlignBox(int Width, int Height, TVerticalAlignment Vertical, TAlignment Horizontal,
                             const TGridRect& Rect, int Margin);
  static TGridRect AdjustRect(const TGridRect& Rect, int DLeft, int DTop, int DRight, int DBottom) {
    return TGridRect{Rect.Left + DLeft, Rect.Top + DTop, Rect.Right + DRight, Rect.Bottom + DBottom};
  }
};

// Colour arithmetic on plain RGB values (system colours are resolved by the caller).
// Alpha 0..255 weighs A; the sum is divided by 256, so full weight still loses one step.
// Alpha 256 or more is a caller's mistake: debug builds stop on it, release builds clamp it.
TColor BlendRGB(TColor A, TColor B, int Alpha);
// T 0..1 moves from A to B; each channel rounds to nearest, halves to even.
TColor MixRGB(TColor A, TColor B, double T);
// Every channel scaled by Numerator/256 (the sorted column's shading uses 245).
TColor ScaleRGB(TColor Color, int Numerator);

// HTML colours: the code ("#RRGGBB") of a name, case-insensitively; other texts come back unchanged.
std::string HtmlColorCode(const std::string& Name);
// A name or "#RRGGBB" as a colour; anything unreadable gives clNone.
TColor HtmlToColor(const std::string& Text);
// The table itself: 141 rows, "transparent" first, then the web colours alphabetically.
struct THtmlColor {
  const char* Name;
  const char* Code;
};
int HtmlColorCount();
const THtmlColor& HtmlColorAt(int Index);
