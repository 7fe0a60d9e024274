#pragma once
// Horizontal alignment codes shared by every painter and control of the program.
enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
