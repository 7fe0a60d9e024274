#pragma once
// Pictures made for the GIF benchmark: photo-like true colour, flat graphics of few colours, and
// an animation, all from a seed so that every run codes the same pixels.
#include <vector>

#include "gif/GifEncoder.h"

// Smooth light and shade with edges and grain, as a photograph has: most pixels a colour of their own.
std::vector<TArgb> SyntheticPhoto(int Width, int Height, unsigned Seed);
// The same as one opaque frame.
TTrueColourFrame PhotoFrame(int Width, int Height, unsigned Seed);
// Bands, boxes and text-like strokes in Colours colours (a chart or a screenshot).
TGifFile FlatGraphic(int Width, int Height, int Colours, unsigned Seed);
// Frames of shapes moving over a photo-like background.
std::vector<TTrueColourFrame> AnimationFrames(int Width, int Height, int Count, unsigned Seed);
