#pragma once
// A small bitmap font of our own for the picture's labels: 5 x 7 pixel glyphs with two rows of descenders, in
// digits, ASCII letters and the few signs the labels use. Other characters are drawn as '?'.
#include "Image.h"

#include <string>

namespace qvdet {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 9;  // with descenders
inline constexpr int kGlyphAdvance = 6; // width plus one blank column
inline constexpr int kLineAdvance = 11; // height plus two blank rows

// Width in pixels that drawText takes for text at the given scale.
int textWidth(const std::string& text, int scale = 1);

// Draws text with its top left corner at (x, y), each font pixel scale x scale pixels large.
void drawText(Image& image, int x, int y, const std::string& text, Rgb colour, int scale = 1);

} // namespace qvdet
