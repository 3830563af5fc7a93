#pragma once
// Where the percent window's list and buttons go when the window is resized: the list keeps its margins and
// the Spectrum... and Close buttons stay anchored to the bottom-right corner, but neither shrinks below the layout the
// window opened with.
#include <cstdint>

namespace qv {

struct PixelSize {
    int32_t width;
    int32_t height;
};

struct PixelPoint {
    int32_t x;
    int32_t y;
};

// The layout captured when the window opened, in client coordinates.
struct PercentLayout {
    PixelSize client;
    PixelSize list;
    PixelPoint close;
    PixelPoint spectrum;
};

struct PercentPlacement {
    PixelSize list;
    PixelPoint close;
    PixelPoint spectrum;
};

PercentPlacement placePercentControls(const PercentLayout& initial, PixelSize client);

} // namespace qv
