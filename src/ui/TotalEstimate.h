#pragma once
// The status window's total estimate.
#include "app/EstimateParts.h"

#include <cstdint>

namespace qv {

// The file in work plus every queued type. The first type not known yet makes the whole total unknown: its
// (negative) value is the total.
int32_t totalEstimate(const EstimateParts& parts);

} // namespace qv
