#include "settings/win/SettingsStore.h"

#include "settings/win/ScratchKey.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SettingsStore, FirstRunTakesTheDefaultsAndClearsObsoleteSubkeys) {
    qvtest::ScratchKey scratch;
    RegistryKey key(scratch.path());
    for (const char* subkey : {"\\ETA", "\\Queue", "\\Recent\\Nested"})
        RegistryKey stale(scratch.path() + subkey);
    SharedSettings settings;
    settings.maximumTotalPasses = 1;
    settings.paused = 1;
    loadSettings(key, settings);

    EXPECT_EQ(currentValues(settings), currentValues(SharedSettings()));
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
    SharedSettings settings;
    loadSettings(key, settings);
    EXPECT_EQ(settings.paused, 0);
    EXPECT_EQ(settings.hidden, 1);

    settings.hidden = 0;
    saveSettings(key, settings);
    const std::pair<const char*, int32_t> cases[] = {
        {"Paused", 0}, {"Hidden", 0}, {"Limit History Size", 5}, {"Screen X", -1200}, {"Screen Y", 400}};
    for (const auto& [name, saved] : cases)
        EXPECT_EQ(key.readNumber(name, 12345), saved) << name;
}
