#include "queue/win/ArgumentLister.h"

#include "common/HostFileSystem.h"
#include "common/Text.h"
#include "queue/Listing.h"
#include "support/TempDir.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

using namespace qv;

namespace {

std::wstring longPath(const std::string& path) {
    int units = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], units);
    wide.resize(wide.size() - 1);
    return L"\\\\?\\" + wide;
}

// Files and directories are made through the wide \\?\ calls, so paths beyond MAX_PATH can be made too.
void makeFile(const std::string& path, int64_t size = 0) {
    win::UniqueHandle file(
        CreateFileW(longPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid()) << path;
    LARGE_INTEGER end;
    end.QuadPart = size;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get())) << path;
}

void makeDirectory(const std::string& path) {
    ASSERT_TRUE(CreateDirectoryW(longPath(path).c_str(), nullptr)) << path;
}

std::vector<std::string> namesMatching(const std::string& pattern) {
    std::vector<DirectoryEntry> entries;
    listDirectory(pattern, entries);
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : entries) {
        if (entry.name != "." && entry.name != "..")
            names.push_back(entry.name);
    }
    return names;
}

std::string row(uint32_t kb, const std::string& type, const std::string& path) {
    return formatQueueRow(QueueEntry{path, type, kb});
}

class ArgumentListerTest : public testing::Test {
protected:
    ArgumentListerTest() {
        decoders.append({true, "flac", program.file("flac\\flac.exe"), "-d -o {T} {F}"});
        decoders.append({false, "wav", "", ""});
        log.setPaths(program.file("System.log"), program.file("Detect.log"));
    }

    HandOffListing list(const std::string& arguments) {
        ListerSetup setup{program.str(), decoders, log,
                          [this](const std::string& text) {
                              reports.push_back(text);
                              if (onReport)
                                  onReport();
                          },
                          GetCurrentProcessId()};
        return listArguments(setup, arguments);
    }

    // Checks the hand-off file is complete with exactly these rows, header and footer around them.
    void expectHandOff(const HandOffListing& listing, const std::vector<std::string>& rows) {
        ASSERT_TRUE(listing.written);
        EXPECT_EQ(listing.filesListed, rows.size());
        std::string content = qvtest::readFile(listing.path);
        EXPECT_EQ(content.rfind(";\r\n; Quorvane v0.33\r\n; ", 0), 0u);
        std::size_t body = 0;
        for (int line = 0; line < 4; ++line)
            body = content.find("\r\n", body) + 2;
        std::string expected;
        for (const std::string& r : rows)
            expected += r;
        EXPECT_EQ(content.substr(body), expected + queueFileFooter(rows.size()));
    }

    std::string systemLog() const { return qvtest::readFile(program.file("System.log")); }

    qvtest::TempDir program;
    qvtest::TempDir data;
    DecoderTable decoders;
    DiagnosticLog log;
    std::vector<std::string> reports;
    std::function<void()> onReport;
};

} // namespace

TEST_F(ArgumentListerTest, DirectoriesListSubdirectoriesFirstAndOnlyAcceptedTypes) {
    std::string root = data.file("music");
    for (const char* directory : {"", "\\album.2001", "\\album.2001\\cd1", "\\empty"})
        makeDirectory(root + directory);
    // "inner" is refused: its only dot lies in the directory's name.
    const std::pair<const char*, int64_t> files[] = {{"\\a.wav", 1536},
                                                     {"\\b.FLAC", 1535},
                                                     {"\\c.mp3", 5000},
                                                     {"\\noext", 5000},
                                                     {"\\album.2001\\inner", 5000},
                                                     {"\\album.2001\\d.flac", 0},
                                                     {"\\album.2001\\cd1\\e.wav", 2048}};
    for (const auto& [name, size] : files)
        makeFile(root + name, size);

    std::vector<std::string> rows = {row(2, "wav", root + "\\album.2001\\cd1\\e.wav"),
                                     row(1, "flac", root + "\\album.2001\\d.flac")};
    for (const std::string& name : namesMatching(root + "\\*")) {
        if (name == "a.wav" || name == "b.FLAC")
            rows.push_back(row(name == "a.wav" ? 2 : 1, extensionOf(name), root + "\\" + name));
    }
    expectHandOff(list("\"" + root + "\""), rows);
    EXPECT_TRUE(reports.empty());
    std::string systemLog = this->systemLog();
    EXPECT_NE(systemLog.find(" - File added: " + root + "\\b.FLAC\r\n"), std::string::npos);
    EXPECT_EQ(systemLog.find("c.mp3"), std::string::npos);
}

TEST_F(ArgumentListerTest, ArgumentsKeepTheirOrderAndMissingOnesAreReportedWithoutStoppingTheRest) {
    std::string first = data.file("with blank.wav");
    std::string second = data.file("second.Flac");
    makeFile(first, 0);
    makeFile(second, 1536);
    std::string missing = data.file("missing.wav");
    // The boxes show each argument as given: relative, and with the quote that was never closed.
    HandOffListing listing = list("\"" + first + "\"   \"" + missing + "\" " + second + " \"" + first + "\" " +
                                  data.file("*.wav") + " missing.wav \"" + data.file("x y"));
    expectHandOff(listing, {row(1, "wav", first), row(2, "Flac", second), row(1, "wav", first)});
    EXPECT_EQ(reports,
              (std::vector<std::string>{"File not found:\n\n" + missing, "File not found:\n\n" + data.file("*.wav"),
                                        "File not found:\n\nmissing.wav", "File not found:\n\n\"" + data.file("x y")}));
}

TEST_F(ArgumentListerTest, TheHandOffFileAppearsOnlyWhenCompleteAndNeverOverAWaitingOne) {
    std::string file = data.file("a.wav");
    makeFile(file, 10);
    std::vector<std::string> pickedUpWhileWriting;
    std::vector<std::string> temporaryWhileWriting;
    onReport = [&] {
        pickedUpWhileWriting = namesMatching(program.str() + "\\" + kHandOffPattern);
        temporaryWhileWriting = namesMatching(program.str() + "\\*.part");
    };
    HandOffListing first = list(file + " " + data.file("missing.wav"));
    EXPECT_TRUE(pickedUpWhileWriting.empty());
    EXPECT_EQ(temporaryWhileWriting, std::vector<std::string>{fileNamePart(first.path) + ".part"});
    EXPECT_TRUE(namesMatching(program.str() + "\\*.part").empty());
    expectHandOff(first, {row(1, "wav", file)});

    // A file left by an earlier process with the same id still waits under the next name.
    unsigned processId = 0;
    unsigned sequence = 0;
    ASSERT_EQ(std::sscanf(fileNamePart(first.path).c_str(), "Queue_%x_%x.log", &processId, &sequence), 2);
    EXPECT_EQ(processId, GetCurrentProcessId());
    std::string waiting = handOffFileName(program.str(), processId, sequence + 1);
    qvtest::writeFile(waiting, "waiting");
    EXPECT_EQ(list(file).path, handOffFileName(program.str(), processId, sequence + 2));
    EXPECT_EQ(qvtest::readFile(waiting), "waiting");
}

TEST_F(ArgumentListerTest, NothingListedStillLeavesAnEmptyHandOffFile) {
    makeFile(data.file("x.mp3"), 10);
    expectHandOff(list(data.str() + " " + data.file("x.mp3")), {});
}

TEST_F(ArgumentListerTest, RelativeArgumentsAreMadeAbsoluteAndAbsoluteOnesStayAsGiven) {
    makeDirectory(data.file("sub"));
    makeFile(data.file("sub\\inner.wav"), 10);
    makeFile(data.file("x.wav"), 10);
    char saved[MAX_PATH];
    DWORD savedLength = GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(savedLength > 0 && savedLength < MAX_PATH && SetCurrentDirectoryA(data.str().c_str()));
    char buffer[MAX_PATH];
    std::string current(buffer, GetCurrentDirectoryA(MAX_PATH, buffer));
    HandOffListing listing =
        list("x.wav sub\\ ..\\" + fileNamePart(data.str()) + "\\x.wav " + data.str() + "\\.\\x.wav");
    SetCurrentDirectoryA(saved);
    // A directory named with a trailing backslash gives two backslashes before its files' names.
    expectHandOff(listing, {row(1, "wav", current + "\\x.wav"), row(1, "wav", current + "\\sub\\\\inner.wav"),
                            row(1, "wav", current + "\\x.wav"), row(1, "wav", data.str() + "\\.\\x.wav")});
}

TEST_F(ArgumentListerTest, Utf8NamesKeepTheirBytes) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the test program must carry the product manifest";
    std::string directory = data.file(u8"Ünïcödé");
    std::string night = directory + u8"\\東京の夜 - Fjörd.wav";
    std::string omega = directory + u8"\\Ωmega.flac";
    ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
    for (const std::string& path : {night, omega})
        ASSERT_TRUE(win::UniqueHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));

    std::vector<std::string> rows;
    for (const std::string& name : namesMatching(directory + "\\*"))
        rows.push_back(row(1, extensionOf(name), directory + "\\" + name));
    ASSERT_EQ(rows.size(), 2u);
    expectHandOff(list("\"" + directory + "\""), rows);
    EXPECT_NE(systemLog().find(" - File added: " + night + "\r\n"), std::string::npos);
}

TEST_F(ArgumentListerTest, PathsBeyondTheBufferAreSkippedWithALogLine) {
    std::string deep = data.str();
    while (deep.size() + 50 <= 250) {
        deep += "\\" + std::string(49, 'd');
        makeDirectory(deep);
    }
    std::string fitting = deep + "\\ok.wav";
    std::string tooLong = deep + "\\" + std::string(260 - deep.size(), 'n') + ".wav";
    std::string tooLongDirectory = deep + "\\" + std::string(260 - deep.size(), 's');
    makeFile(fitting, 10);
    makeFile(tooLong, 10);
    makeDirectory(tooLongDirectory);
    makeFile(tooLongDirectory + "\\lost.wav", 10);

    expectHandOff(list("\"" + data.str() + "\" \"" + tooLong + "\""), {row(1, "wav", fitting)});
    // Only the argument is the user's own: what a scan skips is logged without a box.
    EXPECT_EQ(reports, std::vector<std::string>{"Path too long, skipped:\n\n" + tooLong});
    std::string systemLog = this->systemLog();
    EXPECT_NE(systemLog.find(" - Path too long, skipped: " + tooLongDirectory + "\r\n"), std::string::npos);
    std::size_t first = systemLog.find(" - Path too long, skipped: " + tooLong + "\r\n"); // by the scan
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(systemLog.find(" - Path too long, skipped: " + tooLong + "\r\n", first + 1), std::string::npos);

    // Beyond MAX_PATH the scratch directory's own clean-up cannot reach.
    DeleteFileW(longPath(tooLongDirectory + "\\lost.wav").c_str());
    RemoveDirectoryW(longPath(tooLongDirectory).c_str());
    DeleteFileW(longPath(tooLong).c_str());
}
