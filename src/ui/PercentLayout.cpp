#include "ui/PercentLayout.h"

#include <algorithm>

namespace qv {

PercentPlacement placePercentControls(const PercentLayout& initial, PixelSize client) {
    // Each direction on its own: a window made smaller than it opened keeps the opening layout in that direction,
    // so a quick shrink never leaves the controls stranded at a larger size.
    int32_t width = std::max(client.width, initial.client.width);
    int32_t height = std::max(client.height, initial.client.height);
    int32_t grownX = width - initial.client.width;
    int32_t grownY = height - initial.client.height;
    return {{initial.list.width + grownX, initial.list.height + grownY},
            {initial.close.x + grownX, initial.close.y + grownY},
            {initial.spectrum.x + grownX, initial.spectrum.y + grownY}};
}

} // namespace qv
