#include "ui/PercentLayout.h"
#include "ui/PercentRows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;

TEST(PercentRows, NumbersHaveTwoDigitsAtLeastAndSharesFourCharacters) {
    EXPECT_EQ(rowNumberText(0), "01");
    EXPECT_EQ(rowNumberText(98), "99");
    EXPECT_EQ(rowNumberText(99), "100");
    EXPECT_EQ(percentCellText(95), " 95%");
    EXPECT_EQ(percentCellText(100), "100%");
    EXPECT_EQ(percentCellText(7), "  7%");
    EXPECT_EQ(percentCellText(0), " N/A");
    EXPECT_EQ(percentCellText(-1), " N/A");
}

TEST(PercentLayout, ControlsFollowTheGrowthOfEachDirectionButNeverShrink) {
    const PercentLayout opening{{408, 140}, {390, 90}, {322, 106}, {240, 106}};
    struct Case {
        const char* what;
        PixelSize client;
        PixelSize list;
        PixelPoint close;
        PixelPoint spectrum;
    };
    const Case cases[] = {
        {"unchanged", {408, 140}, {390, 90}, {322, 106}, {240, 106}},
        {"wider and taller", {508, 200}, {490, 150}, {422, 166}, {340, 166}},
        {"narrower but taller", {300, 200}, {390, 150}, {322, 166}, {240, 166}},
        {"smaller in both", {100, 50}, {390, 90}, {322, 106}, {240, 106}},
    };
    for (const Case& c : cases) {
        PercentPlacement placement = placePercentControls(opening, c.client);
        EXPECT_EQ(std::vector<int32_t>({placement.list.width, placement.list.height, placement.close.x,
                                        placement.close.y, placement.spectrum.x, placement.spectrum.y}),
                  std::vector<int32_t>({c.list.width, c.list.height, c.close.x, c.close.y, c.spectrum.x, c.spectrum.y}))
            << c.what;
    }
}
