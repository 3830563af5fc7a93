#pragma once
// The parts of the time estimate as the application knows them; the window adds them up.
#include <cstdint>
#include <vector>

namespace qv {

struct EstimateParts {
    int32_t current = 0;              // seconds left of the file in work
    std::vector<int32_t> queuedTypes; // seconds for every queued file of each type; negative: not known yet
};

} // namespace qv
