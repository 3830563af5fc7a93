#include "ui/win/DroppedFiles.h"

#include "engine/DecoderTable.h"
#include "logs/DiagnosticLog.h"
#include "queue/HandOffIntake.h"
#include "queue/Listing.h"
#include "queue/win/ArgumentLister.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

using namespace qv;

namespace {

// A drop handle as the shell makes it: a DROPFILES header followed by NUL-separated ANSI paths.
HDROP makeDrop(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths)
        list += path + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

} // namespace

TEST(DroppedFiles, EachDroppedItemIsListedAndPickedUpAtOnceInDropOrder) {
    qvtest::TempDir program;
    qvtest::TempDir music;
    DecoderTable decoders;
    decoders.append(DecoderRow{false, "wav", "", ""});
    DiagnosticLog log;
    log.setPaths(program.file("System.log"), program.file("Detect.log"));
    std::filesystem::create_directory(music.file("Dir"));
    for (const char* name : {"c.wav", "a.wav", "Dir\\b.wav", "Dir\\notes.txt"})
        qvtest::writeFile(music.file(name), "x");

    QueueStore queue;
    HandOffIntake intake(program.str(), [](const std::string&) {});
    std::vector<std::size_t> handOffFilesSeen;
    std::vector<std::string> dropped = {music.file("c.wav"), music.file("Dir"), music.file("a.wav")};
    queueDroppedFiles(makeDrop(dropped), [&](const std::string& argumentText) {
        HandOffListing listing = listArguments(
            {program.str(), decoders, log, [](const std::string&) {}, GetCurrentProcessId()}, argumentText);
        EXPECT_TRUE(listing.written);
        handOffFilesSeen.push_back(static_cast<std::size_t>(intake.pickUp(queue)));
        intake.queueSaved();
    });

    EXPECT_EQ(handOffFilesSeen, (std::vector<std::size_t>{1, 1, 1})); // one file per item, read at once
    ASSERT_EQ(queue.count(), 3);
    EXPECT_EQ(queue.headPath(), music.file("c.wav"));
    queue.removeHead();
    EXPECT_EQ(queue.headPath(), music.file("Dir\\b.wav"));
    queue.removeHead();
    EXPECT_EQ(queue.headPath(), music.file("a.wav"));
    for (const auto& entry : std::filesystem::directory_iterator(program.path()))
        EXPECT_EQ(entry.path().filename().string().rfind("Queue_", 0), std::string::npos) << entry.path();
}
