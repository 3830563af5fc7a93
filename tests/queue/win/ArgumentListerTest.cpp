#include "queue/win/ArgumentLister.h"

#include "common/HostFileSystem.h"
#include "common/StateFile.h"
#include "common/Text.h"
#include "queue/Listing.h"
#include "support/TempDir.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

using namespace qv;

namespace {

std::vector<std::string> namesMatching(const std::string& pattern) {
    std::vector<DirectoryEntry> entries;
    listDirectory(pattern, entries);
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

class ArgumentListerTest : public testing::Test {
protected:
    ArgumentListerTest() {
        decoders.append({true, "flac", program.file("flac\\flac.exe"), "-d -o {T} {F}"});
        decoders.append({false, "wav", "", ""});
        log.setPaths(program.file("System.log"), program.file("Detect.log"));
    }

    std::string file(const std::string& name, std::size_t size = 10) {
        qvtest::writeFile(data.file(name), std::string(size, 'x'));
        return data.file(name);
    }

    HandOffListing list(const std::string& arguments) {
        ListerSetup setup{program.str(), decoders, log,
                          [this](const std::string& text) {
                              reports.push_back(text);
                              onReport();
                          },
                          GetCurrentProcessId()};
        return listArguments(setup, arguments);
    }

    // The hand-off file is complete with exactly these rows, header and footer around them.
    void expectHandOff(const HandOffListing& listing, const std::vector<QueueEntry>& rows) {
        ASSERT_TRUE(listing.written);
        EXPECT_EQ(listing.filesListed, rows.size());
        const std::size_t header = stateFileHeader().size();
        EXPECT_EQ(qvtest::readFile(listing.path).substr(header), formatQueueFile(rows).substr(header));
    }

    qvtest::TempDir program;
    qvtest::TempDir data;
    DecoderTable decoders;
    DiagnosticLog log;
    std::vector<std::string> reports;
    std::function<void()> onReport = [] {};
};

} // namespace

TEST_F(ArgumentListerTest, ArgumentsKeepTheirOrderAndMissingOnesAreReportedWithoutStoppingTheRest) {
    std::string first = file("with blank.wav", 0);
    file("second.Flac", 1536);
    std::string missing = data.file("missing.wav");
    char saved[MAX_PATH];
    DWORD savedLength = GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(savedLength > 0 && savedLength < MAX_PATH && SetCurrentDirectoryA(data.str().c_str()));
    char buffer[MAX_PATH];
    const std::string second = std::string(buffer, GetCurrentDirectoryA(MAX_PATH, buffer)) + "\\second.Flac";
    // A relative argument is made absolute, an absolute one stays as given. The boxes show each argument as
    // given: relative, and with the quote that was never closed.
    HandOffListing listing = list("\"" + first + "\"   \"" + missing + "\" second.Flac \"" + data.str() +
                                  "\\.\\with blank.wav\" " + data.file("*.wav") + " missing.wav \"" + data.file("x y"));
    SetCurrentDirectoryA(saved);
    expectHandOff(listing, {{first, "wav", 1}, {second, "Flac", 2}, {data.str() + "\\.\\with blank.wav", "wav", 1}});
    EXPECT_EQ(reports,
              (std::vector<std::string>{"File not found:\n\n" + missing, "File not found:\n\n" + data.file("*.wav"),
                                        "File not found:\n\nmissing.wav", "File not found:\n\n\"" + data.file("x y")}));
    EXPECT_NE(qvtest::readFile(program.file("System.log")).find(" - File added: " + second + "\r\n"),
              std::string::npos);

    ASSERT_TRUE(CreateDirectoryA(data.file("mp3").c_str(), nullptr));
    expectHandOff(list(data.file("mp3") + " " + file("mp3\\x.mp3")), {}); // nothing listed: an empty hand-off file
}

TEST_F(ArgumentListerTest, TheHandOffFileAppearsOnlyWhenCompleteAndNeverOverAWaitingOne) {
    std::string wav = file("a.wav");
    std::vector<std::string> pickedUpWhileWriting, temporaryWhileWriting;
    onReport = [&] {
        pickedUpWhileWriting = namesMatching(program.str() + "\\" + kHandOffPattern);
        temporaryWhileWriting = namesMatching(program.str() + "\\*.part");
    };
    HandOffListing first = list(wav + " " + data.file("missing.wav"));
    EXPECT_TRUE(pickedUpWhileWriting.empty());
    EXPECT_EQ(temporaryWhileWriting, std::vector<std::string>{fileNamePart(first.path) + ".part"});
    EXPECT_TRUE(namesMatching(program.str() + "\\*.part").empty());
    expectHandOff(first, {{wav, "wav", 1}});

    // A file left by an earlier process with the same id still waits under the next name.
    unsigned processId = 0, sequence = 0;
    ASSERT_EQ(std::sscanf(fileNamePart(first.path).c_str(), "Queue_%x_%x.log", &processId, &sequence), 2);
    std::string waiting = handOffFileName(program.str(), processId, sequence + 1);
    qvtest::writeFile(waiting, "waiting");
    EXPECT_EQ(list(wav).path, handOffFileName(program.str(), processId, sequence + 2));
    EXPECT_EQ(qvtest::readFile(waiting), "waiting");
}

// Directories list subdirectories first, then the directory's own accepted files in listing order; paths beyond
// the buffer are skipped with a line, and only an argument of the user's own gets a box.
TEST_F(ArgumentListerTest, DirectoriesListSubdirectoriesFirstAndSkipPathsBeyondTheBuffer) {
    const std::string root = data.file("music");
    std::string deep = data.file("long");
    for (const std::string& directory : {root, root + "\\album.2001", root + "\\album.2001\\cd1", deep})
        ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    // "inner" is refused: its only dot lies in the directory's name.
    for (const auto& [name, size] :
         std::vector<std::pair<std::string, std::size_t>>{{"music\\a.wav", 1536},
                                                          {"music\\b.FLAC", 1535},
                                                          {"music\\c.mp3", 5000},
                                                          {"music\\noext", 5000},
                                                          {"music\\album.2001\\inner", 5},
                                                          {"music\\album.2001\\d.flac", 0},
                                                          {"music\\album.2001\\cd1\\e.wav", 2048}})
        file(name, size);
    // Near and beyond MAX_PATH only the wide \\?\ calls reach; the names are ASCII.
    const auto wide = [](const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); };
    while (deep.size() + 50 <= 250) {
        deep += "\\" + std::string(49, 'd');
        ASSERT_TRUE(CreateDirectoryW(wide(deep).c_str(), nullptr));
    }
    const std::string fitting = deep + "\\ok.wav", tooLong = deep + "\\" + std::string(260 - deep.size(), 'n') + ".wav";
    for (const std::string& made : {fitting, tooLong}) {
        win::UniqueHandle handle(CreateFileW(wide(made).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(handle.valid() && WriteFile(handle.get(), "x", 1, &written, nullptr));
    }

    std::vector<QueueEntry> rows = {{root + "\\album.2001\\cd1\\e.wav", "wav", 2},
                                    {root + "\\album.2001\\d.flac", "flac", 1}};
    for (const std::string& name : namesMatching(root + "\\*")) {
        if (name == "a.wav" || name == "b.FLAC")
            rows.push_back({root + "\\" + name, name == "a.wav" ? "wav" : "FLAC", name == "a.wav" ? 2u : 1u});
    }
    rows.push_back({fitting, "wav", 1});
    expectHandOff(list("\"" + root + "\" \"" + data.file("long") + "\" \"" + tooLong + "\""), rows);
    EXPECT_EQ(reports, std::vector<std::string>{"Path too long, skipped:\n\n" + tooLong});
    const std::string systemLog = qvtest::readFile(program.file("System.log"));
    const std::size_t byTheScan = systemLog.find(" - Path too long, skipped: " + tooLong + "\r\n");
    ASSERT_NE(byTheScan, std::string::npos);
    EXPECT_NE(systemLog.find(" - Path too long, skipped: " + tooLong + "\r\n", byTheScan + 1), std::string::npos);
    EXPECT_EQ(systemLog.find("c.mp3"), std::string::npos);
    DeleteFileW(wide(tooLong).c_str()); // beyond the reach of the scratch directory's own clean-up
}
