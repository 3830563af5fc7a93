#include "ui/win/DroppedFiles.h"

#include "common/Text.h"

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

TEST(DroppedFiles, EachDroppedItemIsQueuedAloneInDropOrderAsOneArgument) {
    const std::vector<std::string> dropped = {"C:\\Music\\c.wav", "C:\\Music\\Some Dir", "D:\\a b\\x.flac"};
    std::vector<std::string> queued;
    queueDroppedFiles(makeDrop(dropped), [&](const std::string& argumentText) {
        const SplitResult split = splitArgument(argumentText);
        EXPECT_EQ(split.rest, "") << argumentText;
        queued.push_back(split.first);
    });
    EXPECT_EQ(queued, dropped);
}
