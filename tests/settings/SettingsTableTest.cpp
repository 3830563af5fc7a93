#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;

namespace {

SettingValues defaults() {
    SettingValues values{};
    for (std::size_t i = 0; i < kSettingCount; ++i)
        values[i] = kSettingsTable[i].defaultValue;
    return values;
}

SettingValues defaultsWith(const char* name, int32_t value) {
    SettingValues values = defaults();
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (std::strcmp(kSettingsTable[i].name, name) == 0) {
            values[i] = value;
            return values;
        }
    }
    ADD_FAILURE() << "no setting " << name;
    return values;
}

} // namespace

TEST(SettingsTable, DefaultsAreTheSettingsAProgramStartsWith) {
    WindowSettings window{1, 1, true, true, false, 0, true};
    SharedSettings shared;
    shared.maximumTotalPasses = 1;
    StatisticsScaling statistics{0, 0};
    applyStoredValues(defaults(), window, shared, statistics);
    EXPECT_EQ(valuesToStore(window, shared), valuesToStore(WindowSettings(), SharedSettings()));
    EXPECT_FALSE(window.startHidden);
    EXPECT_EQ(statistics.divideCountExponent, 6);
    EXPECT_EQ(statistics.dividePercentValue, 50);
}

TEST(SettingsTable, BooleansAreTrueOnlyForExactlyOneAndNumbersAreKeptAsStored) {
    const std::pair<int32_t, int32_t> booleans[] = {{1, 1}, {0, 0}, {2, 0}, {-1, 0}};
    for (const char* name :
         {"Paused", "Use Intelligent ETA", "Save Logfile To Directory", "Save Percent To Logfile Name",
          "Save Full Directory To Logfile", "Status Dialog Always On Top"}) {
        for (const auto& [stored, saved] : booleans) {
            WindowSettings window;
            SharedSettings shared;
            StatisticsScaling statistics;
            applyStoredValues(defaultsWith(name, stored), window, shared, statistics);
            EXPECT_EQ(valuesToStore(window, shared), defaultsWith(name, saved)) << name << " stored as " << stored;
        }
    }
    for (const char* name : {"Limit History Size", "History Size", "Priority", "Screen X",
                             "Detect Maximum Total Passes", "Detect Parallel Passes"}) {
        WindowSettings window;
        SharedSettings shared;
        StatisticsScaling statistics;
        applyStoredValues(defaultsWith(name, -5), window, shared, statistics);
        EXPECT_EQ(valuesToStore(window, shared), defaultsWith(name, -5)) << name;
    }
}

TEST(SettingsTable, HiddenIsLoadedAsStartHiddenAndSavedFromHidden) {
    WindowSettings window;
    SharedSettings shared;
    StatisticsScaling statistics;
    applyStoredValues(defaultsWith("Hidden", 1), window, shared, statistics);
    EXPECT_TRUE(window.startHidden);
    EXPECT_FALSE(window.hidden);
    EXPECT_EQ(valuesToStore(window, shared), defaults());
    window.hidden = true;
    EXPECT_EQ(valuesToStore(window, shared), defaultsWith("Hidden", 1));
}
