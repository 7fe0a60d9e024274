#pragma once
// Screen density. The program is laid out at 96 pixels per inch; each window scales its controls from
// there to the density of the monitor it is on, and again when it moves to another one.
#include <windows.h>

inline constexpr int DesignPPI = 96;

// Asks the system to report each monitor's own density and its changes (per-monitor v2, else
// per-monitor, else the system's density) instead of stretching the window's bitmap. The manifest
// asks the same; this covers systems that read only one of them.
void DeclareDpiAwareness();

// The density Window is shown at; the system's for a null window or a system that cannot tell.
int WindowPPI(HWND Window);

// A length laid out for D pixels per inch, at M pixels per inch: to the nearest pixel.
inline int ScaleLength(int Value, int M, int D) { return MulDiv(Value, M, D); }

// A font's pixel height (negative: character height) laid out for D pixels per inch, at M. Rounds
// to the nearest pixel with halves toward zero: a font never outgrows the boxes scaled for it, and
// scaling there and back gives the height again (-11 at 96 is -16 at 144 and -11 back at 96).
int ScaleFontHeight(int Height, int M, int D);
