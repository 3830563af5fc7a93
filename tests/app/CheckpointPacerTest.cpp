#include "app/CheckpointPacer.h"

#include <gtest/gtest.h>

using qv::CheckpointPacer;

TEST(CheckpointPacerTest, SavingTakesAtMostATenthOfTheTime) {
    CheckpointPacer pacer;
    EXPECT_TRUE(pacer.isDue(0));
    pacer.saved(1000, 1001); // a small queue: due again at once on the next tick
    EXPECT_TRUE(pacer.isDue(1010));

    pacer.saved(2000, 3000); // a second-long save
    EXPECT_FALSE(pacer.isDue(3000));
    EXPECT_FALSE(pacer.isDue(11999));
    EXPECT_TRUE(pacer.isDue(12000));

    pacer.saved(12000, 12000); // the queue shrank: back to every tick
    EXPECT_TRUE(pacer.isDue(12000));
}

TEST(CheckpointPacerTest, AClockThatWentBackDoesNotStopSaving) {
    CheckpointPacer pacer;
    pacer.saved(5000, 4000);
    EXPECT_TRUE(pacer.isDue(4000));
}
