#include "ui/win/SpectrumWindow.h"

#include "support/TempDir.h"
#include "ui/win/DialogIds.h"
#include "ui/win/DialogDriver.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace qv;

namespace {

std::string programDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

// Pumps this thread's messages until the window's message is no longer "Drawing..." and returns it.
std::string waitDrawn(HWND window) {
    std::string message;
    qvtest::waitUntil(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            message = qvtest::itemText(window, IDC_SPECTRUM_MESSAGE);
            return message != "Drawing...";
        },
        std::chrono::seconds(60));
    return message;
}

bool hasScratchFiles(const std::string& directory) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\QvSpectrum_*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

} // namespace

// The picture itself, and the message for a file deleted meanwhile, are seen end to end.
TEST(SpectrumWindow, SaysWhyThereIsNoPictureAndLeavesNoScratchFiles) {
    const qvtest::TempDir scratch;
    const std::string bin = programDirectory();
    DecoderTable decoders;
    decoders.append({false, "wav", "", ""});
    decoders.append({true, "flac", bin + "\\standin\\decoders\\flac\\flac.exe", "-d -f -o {T} {F}"});
    decoders.append({true, "ape", bin + "\\no such decoder.exe", "-d {F} {T}"});
    const std::string drawing = bin + "\\opendetector\\aucdtect.exe";
    const std::string standin = bin + "\\standin\\aucdtect.exe";
    struct Case {
        const char* file;
        const char* content;
        std::string detector;
        const char* message; // the start of it
        uint64_t timeLimitMs = 0;
    };
    const Case cases[] = {
        {"tone.xyz", "any type", drawing, "Quorvane has no decoder"},
        {"tone.flac", "decoder exit=1", drawing, "The decoder could not"},
        {"tone.ape", "any content", drawing, "The decoder could not"},
        {"tone.wav", "m0", standin, kCannotDrawMessage},
        {"hang.flac", "decoder sleep=600000", drawing, kDecoderTimedOutMessage, 2000},
        {"hang.wav", "m0 sleep=600000", standin, kDetectorTimedOutMessage, 2000},
    };
    for (const Case& c : cases) {
        std::ofstream(scratch.file(c.file)) << c.content;
        HWND window = SpectrumWindow::open(nullptr, {bin, c.detector, scratch.str(), decoders, c.timeLimitMs},
                                           scratch.file(c.file));
        ASSERT_NE(window, nullptr) << c.file;
        const std::string message = waitDrawn(window);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << c.file << ": " << message;
        EXPECT_TRUE(qvtest::itemVisible(window, IDC_SPECTRUM_MESSAGE)) << c.file;
        DestroyWindow(window);
        EXPECT_FALSE(hasScratchFiles(scratch.str())) << c.file;
    }
}
