#include "settings/win/SettingsStore.h"

#include "settings/win/ScratchKey.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SettingsStore, FirstRunTakesTheDefaultsAndDeletesObsoleteSubkeysWithoutSubkeys) {
    qvtest::ScratchKey scratch;
    RegistryKey key(scratch.path());
    for (const char* subkey : {"\\ETA", "\\Queue", "\\Recent\\Nested"})
        RegistryKey stale(scratch.path() + subkey);
    SharedSettings settings;
    settings.maximumTotalPasses = 1;
    settings.paused = 1;
    loadSettings(key, settings);
    EXPECT_EQ(currentValues(settings), currentValues(SharedSettings()));
    const std::pair<const char*, bool> kept[] = {{"\\ETA", false}, {"\\Queue", false}, {"\\Recent", true}};
    for (const auto& [subkey, stays] : kept)
        EXPECT_EQ(qvtest::keyExists(key.root(), scratch.path() + subkey), stays) << subkey;
}
