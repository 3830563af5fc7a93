#include "app/StatusTexts.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(StatusTexts, FieldsReadNaturallyAtTheirEdges) {
    EXPECT_EQ(queueFieldText(0), "Empty");
    EXPECT_EQ(queueFieldText(1), "1 file");
    EXPECT_EQ(queueFieldText(2), "2 files");
    EXPECT_EQ(sizeFieldText(0), "N/A");
    EXPECT_EQ(sizeFieldText(2097152), "2097152 kB");
    EXPECT_EQ(percentFieldText(-1), "N/A");
    EXPECT_EQ(percentFieldText(0), "0%");
    EXPECT_EQ(percentFieldText(100), "100%");
}

TEST(StatusTexts, TrayTipTakesTheFirstRuleThatApplies) {
    struct Case {
        const char* status;
        const char* file;
        bool paused;
        const char* tip;
    };
    const Case cases[] = {
        {"Idle", "N/A", false, "Idle"},
        {"Checking (Pass 2)", "", true, "Checking (Pass 2)"}, // no file: the status even while paused
        {"Checking (Pass 2)", "C:\\A\\x.wav", true, "Paused: x.wav"},
        {"", "C:\\A\\x.wav", false, "x.wav"},
        {"IDLE", "C:\\A\\x.wav", false, "IDLE"},
        {"Checking (Pass 2)", "C:\\A\\x.wav", false, "Checking (Pass 2): x.wav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(trayTipText(c.status, c.file, c.paused), c.tip) << c.status << " / " << c.file;
}

TEST(StatusTexts, TrayTipIsCutTo63Characters) {
    std::string tip = trayTipText("Decompressing", "C:\\A\\" + std::string(100, 'n') + ".flac", false);
    EXPECT_EQ(tip.size(), 63u);
    EXPECT_EQ(tip.rfind("Decompressing: nnn", 0), 0u);
}
