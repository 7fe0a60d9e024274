#include "app/WindowLayout.h"

#include <algorithm>
#include <charconv>

#include "core/Exceptions.h"
#include "core/SettingsFile.h"

namespace {

constexpr std::string_view BoundsKey = "WindowBounds", MaximizedKey = "WindowMaximized", OrderKey = "ColumnOrder",
                           WidthsKey = "ColumnWidths", SortKey = "SortColumn", DescendingKey = "SortDescending";
// Far outside any desktop: a position beyond it is damage, not a monitor.
constexpr int FarAway = 1000000;

std::string JoinNumbers(const std::vector<int>& Numbers) {
  std::string Text;
  for (std::size_t I = 0; I < Numbers.size(); ++I) Text += (I ? "," : "") + std::to_string(Numbers[I]);
  return Text;
}

// Comma-separated whole numbers; false when any is no number.
bool SplitNumbers(std::string_view Text, std::vector<int>& Numbers) {
  Numbers.clear();
  while (true) {
    const std::size_t Comma = Text.find(',');
    const std::string_view Item = Text.substr(0, Comma);
    int Value = 0;
    const auto [End, Error] = std::from_chars(Item.data(), Item.data() + Item.size(), Value);
    if (Item.empty() || Error != std::errc() || End != Item.data() + Item.size()) return false;
    Numbers.push_back(Value);
    if (Comma == std::string_view::npos) return true;
    Text.remove_prefix(Comma + 1);
  }
}

bool IsArrangement(std::vector<int> Order, int Count) {
  if (static_cast<int>(Order.size()) != Count) return false;
  std::sort(Order.begin(), Order.end());
  for (int I = 0; I < Count; ++I)
    if (Order[I] != I) return false;
  return true;
}

}  // namespace

bool TWindowLayout::operator==(const TWindowLayout& Other) const {
  return Bounds == Other.Bounds && Maximized == Other.Maximized && ColumnOrder == Other.ColumnOrder &&
         ColumnWidths == Other.ColumnWidths && SortColumn == Other.SortColumn && SortDescending == Other.SortDescending;
}

std::vector<std::string> FormatWindowLayout(const TWindowLayout& Layout) {
  std::vector<std::string> Lines;
  const auto Line = [&](std::string_view Key, const std::string& Value) {
    Lines.push_back(std::string(Key) + "=" + Value);
  };
  if (Layout.Bounds) {
    const TWindowBounds& B = *Layout.Bounds;
    Line(BoundsKey, JoinNumbers({B.Left, B.Top, B.Width, B.Height}));
  }
  Line(MaximizedKey, Layout.Maximized ? "1" : "0");
  if (!Layout.ColumnOrder.empty()) Line(OrderKey, JoinNumbers(Layout.ColumnOrder));
  if (!Layout.ColumnWidths.empty()) Line(WidthsKey, JoinNumbers(Layout.ColumnWidths));
  Line(SortKey, std::to_string(Layout.SortColumn));
  Line(DescendingKey, Layout.SortDescending ? "1" : "0");
  return Lines;
}

TWindowLayout ParseWindowLayout(const std::vector<std::string>& Lines, int ColumnCount, int MinWidth) {
  TWindowLayout Layout;
  std::vector<int> Numbers;
  for (const std::string& Line : Lines) {
    const std::size_t Equals = Line.find('=');
    if (Equals == std::string::npos) continue;
    const std::string_view Key = std::string_view(Line).substr(0, Equals);
    if (!SplitNumbers(std::string_view(Line).substr(Equals + 1), Numbers)) continue;
    const bool One = Numbers.size() == 1;
    if (Key == BoundsKey && Numbers.size() == 4) {
      const TWindowBounds B{Numbers[0], Numbers[1], Numbers[2], Numbers[3]};
      const bool Near = std::abs(B.Left) < FarAway && std::abs(B.Top) < FarAway;
      if (Near && B.Width >= MinWidth && B.Height > 0 && B.Width < FarAway && B.Height < FarAway) Layout.Bounds = B;
    } else if (Key == MaximizedKey && One) {
      Layout.Maximized = Numbers[0] == 1;
    } else if (Key == OrderKey && IsArrangement(Numbers, ColumnCount)) {
      Layout.ColumnOrder = Numbers;
    } else if (Key == WidthsKey && static_cast<int>(Numbers.size()) == ColumnCount &&
               std::all_of(Numbers.begin(), Numbers.end(),
                           [](int Width) { return Width >= MinColumnWidth && Width <= MaxColumnWidth; })) {
      Layout.ColumnWidths = Numbers;
    } else if (Key == SortKey && One && Numbers[0] >= -1 && Numbers[0] < ColumnCount) {
      Layout.SortColumn = Numbers[0];
    } else if (Key == DescendingKey && One) {
      Layout.SortDescending = Numbers[0] == 1;
    }
  }
  return Layout;
}

TWindowBounds FitIntoArea(const TWindowBounds& Bounds, const TWindowBounds& Area) {
  TWindowBounds Fitted = Bounds;
  Fitted.Width = std::min(Bounds.Width, Area.Width);
  Fitted.Height = std::min(Bounds.Height, Area.Height);
  // Off the far edge: moved back; off the near one (or too large): against it.
  Fitted.Left = std::max(Area.Left, std::min(Bounds.Left, Area.Left + Area.Width - Fitted.Width));
  Fitted.Top = std::max(Area.Top, std::min(Bounds.Top, Area.Top + Area.Height - Fitted.Height));
  return Fitted;
}

TWindowLayout ReadWindowLayout(const std::string& Path, int ColumnCount, int MinWidth, TFileSystem& FileSystem) {
  if (!FileSystem.FileExists(Path)) return TWindowLayout();
  try {
    return ParseWindowLayout(ReadSettingsFile(Path, FileSystem), ColumnCount, MinWidth);
  } catch (const EFileError&) {
    return TWindowLayout();  // a layout is no data: the defaults serve
  }
}

void WriteWindowLayout(const std::string& Path, const TWindowLayout& Layout, TFileSystem& FileSystem) {
  WriteSettingsFile(Path, FormatWindowLayout(Layout), FileSystem);
}
