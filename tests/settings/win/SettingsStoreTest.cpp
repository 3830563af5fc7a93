#include "settings/win/SettingsStore.h"

#include "settings/win/ScratchKey.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SettingsStore, FirstRunTakesTheDefaultsAndClearsObsoleteSubkeys) {
    qvtest::ScratchKey scratch;
    RegistryKey key(scratch.path());
    for (const char* subkey : {"\\ETA", "\\Queue", "\\Recent\\Nested"})
        RegistryKey stale(scratch.path() + subkey);
    WindowSettings window{1, 1, true, true, false, 0, true};
    SharedSettings shared;
    shared.maximumTotalPasses = 1;
    StatisticsScaling statistics{0, 0};
    loadSettings(key, window, shared, statistics);

    EXPECT_EQ(valuesToStore(window, shared), valuesToStore(WindowSettings(), SharedSettings()));
    EXPECT_EQ(statistics.divideCountExponent, 6);
    EXPECT_FALSE(qvtest::keyExists(key.root(), scratch.path() + "\\ETA"));
    EXPECT_FALSE(qvtest::keyExists(key.root(), scratch.path() + "\\Queue"));
    EXPECT_TRUE(qvtest::keyExists(key.root(), scratch.path() + "\\Recent")) << "a key with subkeys stays";
}

TEST(SettingsStore, StoredValuesAreNormalisedOnLoadAndWrittenBack) {
    qvtest::ScratchKey scratch;
    RegistryKey key(scratch.path());
    key.writeNumber("Paused", 2);
    key.writeNumber("Hidden", 1);
    key.writeNumber("Limit History Size", 5);
    key.writeNumber("Screen X", -1200);
    WindowSettings window;
    SharedSettings shared;
    StatisticsScaling statistics;
    loadSettings(key, window, shared, statistics);
    EXPECT_FALSE(window.paused);
    EXPECT_TRUE(window.startHidden);

    saveSettings(key, window, shared);
    const std::pair<const char*, int32_t> cases[] = {
        {"Paused", 0}, {"Hidden", 0}, {"Limit History Size", 5}, {"Screen X", -1200}, {"Screen Y", 400}};
    for (const auto& [name, saved] : cases)
        EXPECT_EQ(key.readNumber(name, 12345), saved) << name;
}
