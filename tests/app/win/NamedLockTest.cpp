#include "app/win/NamedLock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

using namespace qv;

TEST(NamedLockTest, OneTakerAtATimeAndAHolderThatEndedWithoutLettingGoLeavesItFree) {
    // Named kernel objects outlive nothing but their handles; a per-process name keeps parallel runs apart.
    const std::string name = "Quorvane Lock Test " + std::to_string(GetCurrentProcessId());
    const auto otherThreadTakes = [&name](uint32_t timeoutMs) { // another owner, as another process would be
        bool held = false;
        std::thread([&] { held = NamedLock(name.c_str(), timeoutMs).held(); }).join();
        return held;
    };
    NamedLock first(name.c_str(), 1000);
    ASSERT_TRUE(first.held());
    EXPECT_FALSE(otherThreadTakes(50));
    first.release();
    // A thread that ends holding the lock, as a crashed instance would, leaves it abandoned: free for the next.
    std::optional<NamedLock> crashed;
    std::thread([&] { crashed.emplace(name.c_str(), 0); }).join();
    ASSERT_TRUE(crashed->held());
    EXPECT_TRUE(otherThreadTakes(1000));
}
