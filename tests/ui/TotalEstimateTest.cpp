#include "ui/TotalEstimate.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(TotalEstimate, AddsTheTypesToTheCurrentFileUnlessOneIsUnknown) {
    struct Case {
        EstimateParts parts;
        int32_t total;
    };
    const Case cases[] = {
        {{0, {}}, 0},
        {{30, {100, 0, 20}}, 150},
        {{30, {100, -2, -1}}, -2}, // the first unknown type decides
        {{-1, {100}}, 99},         // an unknown current file does not hide the queue
        {{INT32_MAX, {INT32_MAX}}, INT32_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(totalEstimate(c.parts), c.total);
}
