#include "app/CheckpointPacer.h"

#include <gtest/gtest.h>

using qv::CheckpointPacer;

TEST(CheckpointPacerTest, SavingTakesAtMostATenthOfTheTimeAndAClockThatWentBackDoesNotStopIt) {
    CheckpointPacer pacer;
    EXPECT_TRUE(pacer.isDue(0));
    pacer.saved(2000, 3000); // a second-long save
    EXPECT_FALSE(pacer.isDue(11999));
    EXPECT_TRUE(pacer.isDue(12000));
    pacer.saved(5000, 4000);
    EXPECT_TRUE(pacer.isDue(4000));
}
