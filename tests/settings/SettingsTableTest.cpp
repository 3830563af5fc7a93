#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <optional>

using namespace qv;

TEST(SettingsTable, EachMessageNamesItsOwnSettingAndDefaultsLieInRange) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingDefinition& row = kSettingsTable[i];
        EXPECT_TRUE(row.range.contains(row.defaultValue)) << row.name;
        if (row.messageOffset != 0) {
            EXPECT_EQ(settingOfMessage(row.messageOffset), std::optional<setting::Index>(setting::Index(i)))
                << row.name;
        }
    }
    EXPECT_FALSE(settingOfMessage(0));
    EXPECT_FALSE(settingOfMessage(19));
}

TEST(SettingsTable, StoredFlagsAreOnOnlyForOneAndMessagesOutsideTheRangeAreRefused) {
    struct Case {
        setting::Index index;
        int32_t value;
        int32_t loaded;                 // from the registry
        std::optional<int32_t> carried; // from a message
    };
    const Case cases[] = {
        {setting::kPaused, 1, 1, 1},
        {setting::kPaused, 2, 0, 1},
        {setting::kSaveLogfileToDirectory, -1, 0, 1},
        {setting::kPriority, kPriorityIdle - 1, kPriorityIdle - 1, std::nullopt},
        {setting::kPriority, kPriorityHigh + 2, kPriorityHigh + 2, std::nullopt},
        {setting::kHistorySize, 0, 0, std::nullopt},
        {setting::kHistorySize, 99, 99, 99},
        {setting::kDetectMaximumTotalPasses, 41, 41, std::nullopt},
        {setting::kLimitHistorySize, 5, 5, 5}, // a number: non-zero means on, kept as it is
    };
    for (const Case& c : cases) {
        const SettingDefinition& row = kSettingsTable[c.index];
        EXPECT_EQ(loadedValue(row, c.value), c.loaded) << row.name << " " << c.value;
        EXPECT_EQ(acceptedValue(row, c.value), c.carried) << row.name << " " << c.value;
    }
}
