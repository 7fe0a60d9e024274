#include "gif/Interlace.h"

#include <cstring>

namespace {
struct TPass {
  int Start, Step;
};
constexpr TPass Passes[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

int RowsInPass(const TPass& Pass, int Height) {
  return Height > Pass.Start ? (Height - Pass.Start + Pass.Step - 1) / Pass.Step : 0;
}

template <typename TMove>
void ForEachRow(int Height, TMove Move) {
  int Index = 0;
  for (const TPass& Pass : Passes)
    for (int Row = Pass.Start; Row < Height; Row += Pass.Step) Move(Index++, Row);
}
}  // namespace

int InterlacedRow(int Index, int Height) {
  for (const TPass& Pass : Passes) {
    const int Rows = RowsInPass(Pass, Height);
    if (Index < Rows) return Pass.Start + Index * Pass.Step;
    Index -= Rows;
  }
  return -1;
}

std::vector<std::uint8_t> Deinterlaced(const std::vector<std::uint8_t>& Stored, int Width, int Height) {
  std::vector<std::uint8_t> Display(Stored.size());
  ForEachRow(Height, [&](int Index, int Row) {
    std::memcpy(&Display[std::size_t(Row) * Width], &Stored[std::size_t(Index) * Width], std::size_t(Width));
  });
  return Display;
}

std::vector<std::uint8_t> Interlaced(const std::vector<std::uint8_t>& Display, int Width, int Height) {
  std::vector<std::uint8_t> Stored(Display.size());
  ForEachRow(Height, [&](int Index, int Row) {
    std::memcpy(&Stored[std::size_t(Index) * Width], &Display[std::size_t(Row) * Width], std::size_t(Width));
  });
  return Stored;
}
