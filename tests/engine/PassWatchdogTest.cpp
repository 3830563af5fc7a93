#include "engine/PassWatchdog.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;

TEST(PassWatchdog, CutsOffOnlyAPassWithoutProgressOrBeyondItsProcessorTime) {
    struct Reading {
        uint64_t wallMs, processMs;
        bool resumedHere = false; // the pass was resumed at this reading's time
        uint64_t mainThreadMs = 0;
    };
    struct Case {
        const char* what;
        uint64_t limitMs;
        std::vector<Reading> readings; // the pass starts at the first
        int cutAt;                     // index of the reading that cuts it off, -1 for none
    };
    const Case cases[] = {
        {"sleeping pass", 1000, {{0, 5}, {500, 5}, {999, 5}, {1000, 5}}, 3},
        {"slow, progressing, past the limit", 1000, {{0, 0}, {900, 10}, {1800, 20}, {2700, 30}, {9000, 100}}, -1},
        {"processor time beyond the limit", 1000, {{0, 0}, {600, 600}, {1200, 1000}, {1500, 1001}}, 3},
        {"stall counts from the last progress", 1000, {{0, 0}, {800, 50}, {1700, 50}, {1800, 50}}, 3},
        {"suspended time is no stall", 1000, {{0, 0}, {400, 10}, {5000, 10, true}, {5900, 10}, {6000, 10}}, 4},
        {"processor time used before the start does not count", 1000, {{0, 7000}, {500, 7400}, {900, 7800}}, -1},
        {"limit 0 turns it off", 0, {{0, 0}, {100000, 0}, {200000, 500000}}, -1},
        {"a clock read out of order is no stall", 1000, {{5000, 0}, {4000, 0}, {5999, 0}, {6000, 0}}, 3},
        {"main thread's time", 1000, {{0, 80, 0, 20}, {800, 80, 0, 60}, {1600, 80, 0, 100}, {2400, 80, 0, 140}}, -1},
        {"both counted once", 1000, {{0, 0}, {500, 400, 0, 400}, {1000, 800, 0, 800}, {1500, 1200, 0, 1200}}, 3},
    };
    for (const Case& c : cases) {
        auto reading = [](const Reading& r) { return ProcessorReading{r.processMs, r.mainThreadMs}; };
        PassWatchdog watchdog(c.limitMs, c.readings[0].wallMs, reading(c.readings[0]));
        int cut = -1;
        for (int i = 1; i < static_cast<int>(c.readings.size()) && cut < 0; ++i) {
            if (c.readings[i].resumedHere)
                watchdog.resumed(c.readings[i].wallMs);
            if (watchdog.expired(c.readings[i].wallMs, reading(c.readings[i])))
                cut = i;
        }
        EXPECT_EQ(cut, c.cutAt) << c.what;
    }
}
