#pragma once
// The row order of interlaced GIF frames: every 8th row from row 0, every 8th from row 4, every 4th
// from row 2, then every 2nd from row 1.
#include <cstdint>
#include <vector>

// The display row of the Index-th row stored in an interlaced frame of Height rows.
int InterlacedRow(int Index, int Height);
// Rows from stored order to display order, and back.
std::vector<std::uint8_t> Deinterlaced(const std::vector<std::uint8_t>& Stored, int Width, int Height);
std::vector<std::uint8_t> Interlaced(const std::vector<std::uint8_t>& Display, int Width, int Height);
