#include "app/JobThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <vector>

using namespace qv;

TEST(JobThread, TicksWhileIdleRunsJobsInOrderAndFinishesThosePostedBeforeStop) {
    std::vector<int> order;
    std::atomic<int> ticks{0};
    JobThread thread([&] { ++ticks; }, std::chrono::milliseconds(5));
    thread.post([&] { order.push_back(0); }); // before start: dropped
    thread.start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ticks < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_GE(ticks.load(), 3);
    for (int i = 1; i <= 50; ++i)
        thread.post([&order, i] { order.push_back(i); });
    thread.stop();
    thread.post([&] { order.push_back(99); }); // after stop: dropped
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[i], i + 1);
}
