#pragma once
// Drawing helpers shared by the task-pane controls: edge lines, the matching inset of a rectangle, a
// line primitive and the dithered gradient behind a bar's header.
#include <windows.h>

#include "core/Color.h"

class TCanvas;
class TBitmap;

enum TtpBoundLine : unsigned { blLeft = 1, blTop = 2, blRight = 4, blBottom = 8 };
using TtpBoundLines = unsigned;

// A line from (X1, Y1) to (X2, Y2) in the canvas's pen; the end point is left out, as GDI does.
void DrawLine(TCanvas& Canvas, int X1, int Y1, int X2, int Y2);

// Shrinks Rect by BorderWidth (taken as 0..255) on every side, then, when ShowLines is on, by one more
// pixel on each side that carries a bound line.
void InsetRect(int BorderWidth, bool ShowLines, TtpBoundLines Lines, RECT& Rect);

// One-pixel lines in Color along the edges of Rect that Lines names.
void DrawBoundLines(TCanvas& Canvas, TtpBoundLines Lines, TColor Color, const RECT& Rect);

// Fills Bitmap (resized to Width x Height) with a left-to-right gradient of Colors bands (1..255) from
// StartColor to EndColor; with Dither, pixels of each band spill into the next in the top 16 rows,
// which are then repeated down the bitmap.
void BuildGradient(int Width, int Height, TColor StartColor, TColor EndColor, int Colors, bool Dither, TBitmap& Bitmap);
