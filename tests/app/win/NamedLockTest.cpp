#include "app/win/NamedLock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>

using namespace qv;

namespace {

// Named kernel objects outlive nothing but their handles; a per-process name keeps parallel runs apart.
std::string lockName() {
    return "Quorvane Lock Test " + std::to_string(GetCurrentProcessId());
}

// Whether another thread (another owner, as another process would be) gets the lock within the time.
bool otherThreadTakes(uint32_t timeoutMs) {
    bool held = false;
    std::thread([&] { held = NamedLock(lockName().c_str(), timeoutMs).held(); }).join();
    return held;
}

} // namespace

TEST(NamedLockTest, ASecondTakerWaitsUntilTheFirstLetsGo) {
    NamedLock first(lockName().c_str(), 1000);
    ASSERT_TRUE(first.held());
    EXPECT_FALSE(otherThreadTakes(50));

    bool secondHeld = false;
    std::thread second([&] { secondHeld = NamedLock(lockName().c_str(), 10000).held(); });
    first.release();
    second.join();
    EXPECT_TRUE(secondHeld);
    EXPECT_TRUE(otherThreadTakes(0)) << "the second taker's lock went with it";
}

TEST(NamedLockTest, AHolderThatEndedWithoutLettingGoLeavesItFree) {
    // The thread ends owning the lock, as a crashed instance would: the lock is abandoned. (The object's
    // destructor later runs here, where the release is refused; it still closes its handle.)
    std::optional<NamedLock> crashed;
    std::thread([&] { crashed.emplace(lockName().c_str(), 1000); }).join();
    ASSERT_TRUE(crashed->held());
    EXPECT_TRUE(otherThreadTakes(1000));
}
