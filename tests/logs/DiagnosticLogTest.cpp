#include "logs/DiagnosticLog.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

using namespace qv;

namespace {

class DiagnosticLogTest : public testing::Test {
protected:
    DiagnosticLogTest() { log.setPaths(dir.file("System.log"), dir.file("Detect.log")); }

    // The log's text with each line's time stamp as "@".
    std::string withoutStamps(const std::string& name) const {
        static const std::regex stamp(R"((^|\n)\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
        return std::regex_replace(qvtest::readFile(dir.file(name)), stamp, "$1@");
    }

    qvtest::TempDir dir;
    DiagnosticLog log;
};

} // namespace

TEST_F(DiagnosticLogTest, WritesEachLineFormatWithCrLf) {
    log.writeSystemLog("Worker thread startup");
    log.writeSystemLog("");
    log.writeDetectLog("Creating log file: C:\\A\\kelvra.log");
    log.writeDetectResult(87, 2, 2, "C:\\A\\x.wav");
    log.writeDetectResult(-1, 0, 12, "C:\\A\\y.wav");
    log.writeDetectResult(100, 2, 3, "C:\\A\\z.wav");
    log.writeSystemLogLines({"File added: C:\\A\\x.wav", "", "File added: C:\\A\\y.wav"});
    EXPECT_EQ(
        withoutStamps("System.log"),
        "@ - Worker thread startup\r\n@\r\n@ - File added: C:\\A\\x.wav\r\n@\r\n@ - File added: C:\\A\\y.wav\r\n");
    EXPECT_EQ(withoutStamps("Detect.log"), "@ Creating log file: C:\\A\\kelvra.log\r\n@ -  87% [2/2] C:\\A\\x.wav\r\n"
                                           "@ -  -1% [0/12] C:\\A\\y.wav\r\n@ - 100% [2/3] C:\\A\\z.wav\r\n");
}

TEST_F(DiagnosticLogTest, ReportsALogThatCannotBeOpenedOncePerLogWithItsOwnText) {
    std::filesystem::create_directory(dir.file("System.log")); // a directory stands where the file goes
    std::filesystem::create_directory(dir.file("Detect.log"));
    std::vector<std::string> reported;
    log.setOpenFailureReporter([&reported](const std::string& text) { reported.push_back(text); });
    for (int i = 0; i < 3; ++i) {
        log.writeSystemLog("x");
        log.writeSystemLogLines({"x", "x"});
        log.writeDetectResult(1, 1, 1, "p");
        log.writeDetectLog("y");
    }
    EXPECT_EQ(reported, (std::vector<std::string>{"SYSLOG OPEN ERROR", "DETECT OPEN ERROR 1"}));
}
