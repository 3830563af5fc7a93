#include "logs/DiagnosticLog.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

using namespace qv;

namespace {

const char* kStamp = R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})";

void expectLines(const std::string& content, const std::vector<std::string>& patterns) {
    std::string rest = content;
    for (const std::string& pattern : patterns) {
        std::size_t end = rest.find("\r\n");
        ASSERT_NE(end, std::string::npos) << "missing line for " << pattern;
        std::string line = rest.substr(0, end);
        EXPECT_TRUE(std::regex_match(line, std::regex(kStamp + pattern))) << "[" << line << "] vs " << pattern;
        rest = rest.substr(end + 2);
    }
    EXPECT_EQ(rest, "");
}

} // namespace

TEST(DiagnosticLog, WritesEachLineFormatWithCrLf) {
    qvtest::TempDir dir;
    DiagnosticLog log;
    log.setPaths(dir.file("System.log"), dir.file("Detect.log"));
    log.writeSystemLog("Worker thread startup");
    log.writeSystemLog("");
    log.writeDetectLog("Creating log file: C:\\A\\kelvra.log");
    log.writeDetectResult(87, 2, 2, "C:\\A\\x.wav");
    log.writeDetectResult(-1, 0, 12, "C:\\A\\y.wav");
    log.writeDetectResult(100, 2, 3, "C:\\A\\z.wav");
    log.writeSystemLogLines({"File added: C:\\A\\x.wav", "", "File added: C:\\A\\y.wav"});
    log.writeSystemLogLines({});
    expectLines(
        qvtest::readFile(dir.file("System.log")),
        {R"( - Worker thread startup)", "", R"( - File added: C:\\A\\x\.wav)", "", R"( - File added: C:\\A\\y\.wav)"});
    expectLines(qvtest::readFile(dir.file("Detect.log")),
                {R"( Creating log file: C:\\A\\kelvra\.log)", R"( -  87% \[2/2\] C:\\A\\x\.wav)",
                 R"( -  -1% \[0/12\] C:\\A\\y\.wav)", R"( - 100% \[2/3\] C:\\A\\z\.wav)"});
}

TEST(DiagnosticLog, ADeletedLogIsCreatedAgainByTheNextLine) {
    qvtest::TempDir dir;
    DiagnosticLog log;
    log.setPaths(dir.file("System.log"), dir.file("Detect.log"));
    log.writeSystemLog("one");
    std::filesystem::remove(dir.file("System.log"));
    log.writeSystemLog("two");
    expectLines(qvtest::readFile(dir.file("System.log")), {" - two"});
}

TEST(DiagnosticLog, ReportsALogThatCannotBeOpenedOncePerLogWithItsOwnText) {
    qvtest::TempDir dir;
    std::filesystem::create_directory(dir.file("System.log")); // a directory stands where the file goes
    std::filesystem::create_directory(dir.file("Detect.log"));
    DiagnosticLog log;
    log.setPaths(dir.file("System.log"), dir.file("Detect.log"));
    std::vector<std::string> reported;
    log.setOpenFailureReporter([&reported](const std::string& text) { reported.push_back(text); });
    for (int i = 0; i < 3; ++i) {
        log.writeSystemLog("x");
        log.writeSystemLogLines({"x", "x"});
        log.writeDetectResult(1, 1, 1, "p");
        log.writeDetectLog("y");
    }
    // One box per log and run: a box for every line would stall the worker behind modal boxes.
    EXPECT_EQ(reported, (std::vector<std::string>{"SYSLOG OPEN ERROR", "DETECT OPEN ERROR 1"}));
}
