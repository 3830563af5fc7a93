#include "ui/StatusTexts.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(StatusTexts, FieldsReadNaturallyAtTheirEdges) {
    EXPECT_EQ(queueFieldText(0) + "|" + queueFieldText(1) + "|" + queueFieldText(2), "Empty|1 file|2 files");
    EXPECT_EQ(sizeFieldText(0) + "|" + sizeFieldText(2097152), "N/A|2097152 kB");
    EXPECT_EQ(percentFieldText(-1) + "|" + percentFieldText(0) + "|" + percentFieldText(100), "N/A|0%|100%");
}

TEST(StatusTexts, TrayTipTakesTheFirstRuleThatAppliesCutTo63Characters) {
    const WorkerState idle{};
    const WorkerState checking{WorkerPhase::Detecting, 12, 0};
    const WorkerState together{WorkerPhase::Detecting, 3, 4};
    const std::string longName = "C:\\A\\" + std::string(100, 'n') + ".flac";
    struct Case {
        WorkerState state;
        std::string file;
        bool paused;
        std::string tip;
    };
    const Case cases[] = {
        {idle, "N/A", false, "Idle"},
        {checking, "", true, "Checking (Pass 12)"}, // no file: the state even while paused
        {checking, "C:\\A\\x.wav", true, "Paused: x.wav"},
        {idle, "C:\\A\\x.wav", true, "Paused: x.wav"},
        {idle, "C:\\A\\x.wav", false, "Idle"},
        {checking, "C:\\A\\x.wav", false, "Checking (Pass 12): x.wav"},
        {together, "C:\\A\\x.wav", false, "Checking (Pass 3-4): x.wav"},
        {{WorkerPhase::Decompressing, 0, 0}, longName, false, "Decompressing: " + std::string(48, 'n')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(trayTipText(c.state, c.file, c.paused), c.tip) << c.file << " / " << c.paused;
}
