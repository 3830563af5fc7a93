#include "ui/win/SpectrumWindow.h"

#include "support/TempDir.h"
#include "ui/win/DialogIds.h"
#include "ui/win/DialogDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>

using namespace qv;

namespace {

std::string programDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

// Two seconds of a 1 kHz tone, 16-bit mono at 44.1 kHz.
void writeToneWav(const std::string& path) {
    const std::uint32_t frames = 88200;
    std::ofstream file(path, std::ios::binary);
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.put(static_cast<char>(value >> (8 * i)));
    };
    file.write("RIFF", 4);
    put(36 + frames * 2, 4);
    file.write("WAVEfmt ", 8);
    const std::pair<std::uint32_t, int> format[] = {{16, 4}, {1, 2}, {1, 2}, {44100, 4}, {88200, 4}, {2, 2}, {16, 2}};
    for (const auto& [value, bytes] : format)
        put(value, bytes);
    file.write("data", 4);
    put(frames * 2, 4);
    for (std::uint32_t n = 0; n < frames; ++n)
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(12000 * std::sin(n * 2 * 3.14159265 / 44.1))), 2);
}

// Pumps this thread's messages until the window's message is no longer "Drawing..."; returns the message, empty
// when the picture shows (the message then hidden).
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
    return qvtest::itemVisible(window, IDC_SPECTRUM_MESSAGE) ? message : "";
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

TEST(SpectrumWindow, ShowsThePictureOrSaysWhyThereIsNone) {
    if (!qvtest::windowsAvailable())
        GTEST_SKIP() << "no display";
    const qvtest::TempDir scratch;
    const std::string bin = programDirectory();
    const std::string tone = scratch.file("tone.wav");
    writeToneWav(tone);
    DecoderTable decoders;
    decoders.append({false, "wav", "", ""});
    decoders.append({true, "flac", bin + "\\standin\\decoders\\flac\\flac.exe", "-d -f -o {T} {F}"});
    decoders.append({true, "ape", bin + "\\no such decoder.exe", "-d {F} {T}"});
    struct Case {
        const char* what;
        std::string file;
        std::string detector;
        const char* message; // the start of it; empty: the picture shows
        uint64_t timeLimitMs = 0;
    };
    const std::string drawing = bin + "\\opendetector\\aucdtect.exe";
    const std::string standin = bin + "\\standin\\aucdtect.exe";
    const Case cases[] = {
        {"a WAV file", tone, drawing, ""},
        {"a file deleted meanwhile", scratch.file("gone.wav"), drawing, "The file is gone"},
        {"a type without decoder", scratch.file("tone.xyz"), drawing, "Quorvane has no decoder"},
        {"a decoder that fails", scratch.file("tone.flac"), drawing, "The decoder could not"},
        {"a decoder that is missing", scratch.file("tone.ape"), drawing, "The decoder could not"},
        {"a detector that cannot draw", tone, standin, kCannotDrawMessage},
        {"a decoder that hangs", scratch.file("hang.flac"), drawing, kDecoderTimedOutMessage, 2000},
        {"a detector that hangs while drawing", scratch.file("hang.wav"), standin, kDetectorTimedOutMessage, 2000},
    };
    std::ofstream(scratch.file("tone.flac")) << "decoder exit=1";
    std::ofstream(scratch.file("tone.ape")) << "any content";
    std::ofstream(scratch.file("hang.flac")) << "decoder sleep=600000";
    std::ofstream(scratch.file("hang.wav")) << "m0 sleep=600000";
    std::ofstream(scratch.file("tone.xyz")) << "any type";
    for (const Case& c : cases) {
        HWND window = SpectrumWindow::open(nullptr, {bin, c.detector, scratch.str(), decoders, c.timeLimitMs}, c.file);
        ASSERT_NE(window, nullptr) << c.what;
        char title[512] = {};
        GetWindowTextA(window, title, sizeof title);
        EXPECT_NE(std::string(title).find(c.file.substr(c.file.find_last_of('\\') + 1)), std::string::npos) << title;
        const std::string message = waitDrawn(window);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << c.what << ": " << message;
        EXPECT_EQ(message.empty(), std::string(c.message).empty()) << c.what << ": " << message;
        DestroyWindow(window);
        EXPECT_FALSE(hasScratchFiles(scratch.str())) << c.what;
    }
}
