#pragma once
// The window's layout as the user left it: where the window stood, whether it was maximised, and the
// results grid's column order, widths and sort column. Kept in a settings file of its own, read at
// start and written at close; whatever is missing or damaged in it falls back to the design's defaults
// on its own, so one bad line costs only what it holds. Sizes (the window's width and height, the
// column widths) are kept at 96 pixels per inch, so that they mean the same on a screen of any
// density; the window's place is kept in screen pixels.
#include <optional>
#include <string>
#include <vector>

#include "core/FileSystem.h"

inline constexpr const char* LayoutFile = "kestrixlayout.ini";

struct TWindowBounds {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TWindowBounds& Other) const {
    return Left == Other.Left && Top == Other.Top && Width == Other.Width && Height == Other.Height;
  }
};

struct TWindowLayout {
  // The restored (not maximised) bounds; none: the design's size, centred.
  std::optional<TWindowBounds> Bounds;
  bool Maximized = false;
  // Column indexes in display order, and each column's width by index; empty: as designed.
  std::vector<int> ColumnOrder;
  std::vector<int> ColumnWidths;
  // The column the rows were last sorted by (-1: none), and the direction.
  int SortColumn = -1;
  bool SortDescending = false;

  bool operator==(const TWindowLayout& Other) const;
};

// Narrowest and widest column a layout may restore.
inline constexpr int MinColumnWidth = 8;
inline constexpr int MaxColumnWidth = 10000;

// The settings lines of a layout, and back. Reading keeps only what fits a grid of ColumnCount
// columns and a window at least MinWidth wide: an order that is no arrangement of every column, a
// width out of range, a sort column that does not exist or bounds too small are left out.
std::vector<std::string> FormatWindowLayout(const TWindowLayout& Layout);
TWindowLayout ParseWindowLayout(const std::vector<std::string>& Lines, int ColumnCount, int MinWidth);

// Bounds moved into Area (the work area of the monitor they land on) as little as they must, and
// shrunk only where they are larger than it.
TWindowBounds FitIntoArea(const TWindowBounds& Bounds, const TWindowBounds& Area);

// The layout in Path; a missing or unreadable file gives the defaults.
TWindowLayout ReadWindowLayout(const std::string& Path, int ColumnCount, int MinWidth, TFileSystem& FileSystem);
// Raises EFileError when the file cannot be written.
void WriteWindowLayout(const std::string& Path, const TWindowLayout& Layout, TFileSystem& FileSystem);
