#pragma once
// Horizontal alignment codes shared by every painter and control of the program. Nothing here fails.
enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
