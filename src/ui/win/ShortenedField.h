#pragma once
// Owner-drawn text fields that shorten a long text with "..." instead of cutting it off at the edge.
#include <windows.h>

namespace qv {

enum class Shortening { Path, FileName };

// Draws the field's window text (which stays whole, for readers of the window) fitted to its width.
void drawShortenedField(const DRAWITEMSTRUCT& item, Shortening shortening);

} // namespace qv
