#include "ui/StatusTexts.h"

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
    EXPECT_EQ(workerStateText(WorkerState{}), "Idle");
    EXPECT_EQ(workerStateText(WorkerState{WorkerPhase::Decompressing, 0, 0}), "Decompressing");
    EXPECT_EQ(workerStateText(WorkerState{WorkerPhase::Detecting, 12, 0}), "Checking (Pass 12)");
    EXPECT_EQ(workerStateText(WorkerState{WorkerPhase::Detecting, 3, 4}), "Checking (Pass 3-4)");
}

TEST(StatusTexts, TrayTipTakesTheFirstRuleThatApplies) {
    const WorkerState idle{};
    const WorkerState checking{WorkerPhase::Detecting, 2, 0};
    const WorkerState together{WorkerPhase::Detecting, 1, 2};
    struct Case {
        WorkerState state;
        const char* file;
        bool paused;
        const char* tip;
    };
    const Case cases[] = {
        {idle, "N/A", false, "Idle"},
        {checking, "", true, "Checking (Pass 2)"}, // no file: the state even while paused
        {checking, "C:\\A\\x.wav", true, "Paused: x.wav"},
        {idle, "C:\\A\\x.wav", true, "Paused: x.wav"},
        {idle, "C:\\A\\x.wav", false, "Idle"},
        {checking, "C:\\A\\x.wav", false, "Checking (Pass 2): x.wav"},
        {together, "C:\\A\\x.wav", false, "Checking (Pass 1-2): x.wav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(trayTipText(c.state, c.file, c.paused), c.tip) << c.file << " / " << c.paused;
}

TEST(StatusTexts, TrayTipIsCutTo63Characters) {
    std::string tip =
        trayTipText(WorkerState{WorkerPhase::Decompressing, 0, 0}, "C:\\A\\" + std::string(100, 'n') + ".flac", false);
    EXPECT_EQ(tip.size(), 63u);
    EXPECT_EQ(tip.rfind("Decompressing: nnn", 0), 0u);
}
