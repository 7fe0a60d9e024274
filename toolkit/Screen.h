#pragma once
// The screen: its size and work area, the screen-wide cursor, and the cursors the program registered.
#include <windows.h>

#include <map>
#include <string>

// Cursor numbers: 0 is the control's default; negatives name the platform's shapes; positives are
// cursors the program registered with the screen.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
                  crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crNo = -18, crAppStart = -19,
                  crHelp = -20, crHandPoint = -21, crSizeAll = -22;

class TScreen {
 public:
  // The screen-wide cursor (crHourGlass while working).
  TCursor Cursor() const { return FCursor; }
  // Takes effect at once, over every control's own cursor, until set back to crDefault.
  void SetCursor(TCursor Cursor);
  HCURSOR CursorHandle(TCursor Cursor);
  // Registers a cursor resource of the executable under a positive number; false when it is missing.
  // The cursor is loaded at the size for the screen's density (its hot spot scaled with it).
  bool RegisterCursor(TCursor Number, const std::string& ResourceName);
  // The density the program's cursors are drawn for (96 until a window says otherwise); changing it
  // loads the registered cursors again at the matching size.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int PPI);
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  RECT WorkArea() const;

 private:
  HCURSOR LoadCursorAt(const std::string& ResourceName, int PPI);

  TCursor FCursor = crDefault;
  int FPixelsPerInch = 96;
  std::map<TCursor, HCURSOR> FCursors;
  std::map<TCursor, std::string> FCursorNames;
  // Cursors loaded for another density are kept: one may still be on the screen, and a cursor in use
  // must not be destroyed. Going back to that density finds them here.
  std::map<std::pair<std::string, int>, HCURSOR> FLoaded;
};

TScreen& Screen();
