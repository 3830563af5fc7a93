#include "ui/PercentLayout.h"
#include "ui/PercentRows.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;

TEST(PercentRows, NumbersHaveTwoDigitsAtLeastAndSharesFourCharacters) {
    EXPECT_EQ(rowNumberText(0) + "|" + rowNumberText(98) + "|" + rowNumberText(99), "01|99|100");
    const std::vector<std::string> shares = {percentCellText(95), percentCellText(100), percentCellText(7),
                                             percentCellText(0), percentCellText(-1)};
    EXPECT_EQ(shares, std::vector<std::string>({" 95%", "100%", "  7%", " N/A", " N/A"}));
}

TEST(PercentLayout, ControlsFollowTheGrowthOfEachDirectionButNeverShrink) {
    const PercentLayout opening{{408, 140}, {390, 90}, {322, 106}, {240, 106}};
    const std::pair<PixelSize, std::vector<int32_t>> cases[] = {
        // client: list width and height, Close's x and y, Spectrum's x and y
        {{408, 140}, {390, 90, 322, 106, 240, 106}},
        {{508, 200}, {490, 150, 422, 166, 340, 166}},
        {{300, 200}, {390, 150, 322, 166, 240, 166}},
        {{100, 50}, {390, 90, 322, 106, 240, 106}},
    };
    for (const auto& [client, expected] : cases) {
        const PercentPlacement p = placePercentControls(opening, client);
        EXPECT_EQ(std::vector<int32_t>({p.list.width, p.list.height, p.close.x, p.close.y, p.spectrum.x, p.spectrum.y}),
                  expected)
            << client.width << "x" << client.height;
    }
}
