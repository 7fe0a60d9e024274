#pragma once
// GIF pictures for the grid demonstration, drawn here in true colour and run through the GIF codec:
// a bouncing ball (animated, with a clear background), and a sunset reduced to 16 colours with and
// without dithering.
#include <memory>
#include <vector>

#include "toolkit/Picture.h"

std::vector<std::unique_ptr<TPicture>> MakeDemoGifs();
