// Runs the built stand-ins the way the program under test does (stdout through a pipe, hidden, from a directory of
// their own) and checks what end-to-end tests rely on.
#include "WinSupport.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

using qvtools::ScopedHandle;
using qvtools::widen;

namespace {

struct RunResult {
    bool ended = false;
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

void drain(HANDLE pipe, std::string& into) {
    char block[65536];
    DWORD got = 0;
    while (ReadFile(pipe, block, sizeof block, &got, nullptr) && got > 0)
        into.append(block, got);
}

// Starts commandLine in directory and collects its output; a child still running at the deadline is terminated.
RunResult run(const std::string& commandLine, const std::string& directory, DWORD deadlineMs = 20000) {
    RunResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    EXPECT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0));
    EXPECT_TRUE(CreatePipe(&errRead, &errWrite, &inherit, 0));
    ScopedHandle outReader(outRead), outWriter(outWrite), errReader(errRead), errWriter(errWrite);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION info = {};
    std::wstring line = widen(commandLine);
    bool started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, IDLE_PRIORITY_CLASS, nullptr,
                                  widen(directory).c_str(), &startup, &info);
    EXPECT_TRUE(started) << commandLine;
    if (!started)
        return result;
    ScopedHandle process(info.hProcess), thread(info.hThread);
    outWriter.reset();
    errWriter.reset();

    std::thread errors([&] { drain(errRead, result.err); });
    std::thread output([&] { drain(outRead, result.out); });
    result.ended = WaitForSingleObject(process.get(), deadlineMs) == WAIT_OBJECT_0;
    if (!result.ended) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);
    }
    output.join();
    errors.join();
    GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// Whole file by its UTF-8 name; empty when it cannot be read.
std::string readFile(const std::string& path) {
    std::string content;
    return qvtools::readFileHead(path, 1 << 24, content) ? content : std::string();
}

// A program directory laid out like the one under test: the detector beside one subdirectory per decoder.
class StandinPrograms : public testing::Test {
protected:
    void SetUp() override {
        std::string built = qvtools::directoryOf(qvtools::modulePath()) + "\\standin";
        copy(built + "\\aucdtect.exe", "aucdtect.exe");
        for (const char* decoder : {"flac\\flac.exe", "ape\\mac.exe", "wv\\wvunpack.exe", "shn\\shortn32.exe"}) {
            std::string relative = decoder;
            CreateDirectoryW(widen(dir_.file(relative.substr(0, relative.find('\\')))).c_str(), nullptr);
            copy(built + "\\decoders\\" + relative, relative);
        }
    }

    void copy(const std::string& from, const std::string& to) {
        ASSERT_TRUE(CopyFileW(widen(from).c_str(), widen(dir_.file(to)).c_str(), FALSE)) << from;
    }

    RunResult detect(int mode, const std::string& file, DWORD deadlineMs = 20000) {
        return run(inQuotes(dir_.file("aucdtect.exe")) + " -m" + std::to_string(mode) + " " + inQuotes(file),
                   dir_.str(), deadlineMs);
    }

    std::string script(const std::string& name, const std::string& content) {
        std::string path = dir_.file(name);
        ScopedHandle file(
            CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(file.valid() && qvtools::writeAll(file.get(), content)) << path;
        return path;
    }

    qvtest::TempDir dir_;
};

const std::string kCdda97 = "This track looks like CDDA with probability 97%\r\n";

} // namespace

TEST_F(StandinPrograms, DetectorAnswersEachModeAsItsScriptSays) {
    std::string file = script("a.wav", "m0 verdict=cdda:97\nm1 verdict=mpeg:80 exit=3\n");
    const struct {
        int mode;
        std::string out;
        DWORD exitCode;
    } cases[] = {
        {0, kCdda97, 0},
        {1, "This track looks like MPEG with probability 80%\r\n", 3},
        {2, "Could not qualify the source of this track\r\n", 0},
    };
    for (const auto& c : cases) {
        RunResult r = detect(c.mode, file);
        EXPECT_TRUE(r.ended);
        EXPECT_EQ(r.out, c.out) << c.mode;
        EXPECT_EQ(r.exitCode, c.exitCode) << c.mode;
    }
}

TEST_F(StandinPrograms, DetectorPushesTenMebibytesOfNoiseThroughThePipeBeforeTheVerdict) {
    const std::size_t noise = 10 * 1024 * 1024;
    RunResult r = detect(0, script("big.wav", "m0 noise=" + std::to_string(noise) + " stderr=100 verdict=cdda:97\n"));
    ASSERT_TRUE(r.ended);
    ASSERT_EQ(r.out.size(), noise + kCdda97.size());
    EXPECT_EQ(r.out.substr(noise), kCdda97);
    EXPECT_EQ(r.out[noise - 1], '\n');
    EXPECT_EQ(r.err.size(), 100u);
}

TEST_F(StandinPrograms, DetectorFailuresEndTheProcessTheWayTheScriptAsks) {
    RunResult crashed = detect(0, script("crash.wav", "m0 verdict=cdda:97 crash\n"));
    EXPECT_TRUE(crashed.ended);
    EXPECT_EQ(crashed.out, kCdda97);
    EXPECT_EQ(crashed.exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));

    RunResult hung = detect(0, script("hang.wav", "m0 verdict=cdda:97 hang\n"), 1500);
    EXPECT_FALSE(hung.ended);
    EXPECT_EQ(hung.out, kCdda97);

    RunResult missing = detect(0, dir_.file("missing.wav"));
    EXPECT_EQ(missing.exitCode, 2u);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "error: cannot open " + dir_.file("missing.wav") + "\r\n");

    RunResult malformed = detect(0, script("typo.wav", "m0 verdict=cdda:97 exitt=1\n"));
    EXPECT_EQ(malformed.exitCode, 2u);
    EXPECT_EQ(malformed.out, "");
}

TEST_F(StandinPrograms, EveryRunIsLoggedEvenWhenManyRunAtOnce) {
    std::string file = script("a.wav", "m* verdict=cdda:97 sleep=20\n");
    const int runs = 8;
    std::vector<std::thread> threads;
    for (int i = 0; i < runs; ++i)
        threads.emplace_back([&, i] { detect(i, file); });
    for (auto& t : threads)
        t.join();

    std::string log = readFile(dir_.file("standin-calls.txt"));
    for (int i = 0; i < runs; ++i) {
        std::string line = inQuotes(dir_.file("aucdtect.exe")) + " -m" + std::to_string(i) + " " + inQuotes(file) +
                           "\t" + dir_.str() + "\n";
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), runs);
}

TEST_F(StandinPrograms, DecodersCopyUnderTheirOwnArgumentLayouts) {
    // Binary content with a NUL and no rule: copied whole. The name checks that paths survive beyond ASCII.
    std::string audio = std::string("RIFF\0data", 9) + std::string(70000, 'x');
    std::string source = script("\xE6\x9D\xB1\xE4\xBA\xAC Fj\xC3\xB6rd.flac", audio);
    std::string target = dir_.file("KelvrA_1.tmp");
    const std::string commands[] = {
        inQuotes(dir_.file("flac\\flac.exe")) + " -d -f -o  " + inQuotes(target) + "  " + inQuotes(source) + " ",
        inQuotes(dir_.file("ape\\mac.exe")) + "  " + inQuotes(source) + "   " + inQuotes(target) + "  -d",
        inQuotes(dir_.file("wv\\wvunpack.exe")) + " -q -y  " + inQuotes(source) + "   " + inQuotes(target) + " ",
        inQuotes(dir_.file("shn\\shortn32.exe")) + " -x  " + inQuotes(source) + "   " + inQuotes(target) + " ",
    };
    for (const std::string& command : commands) {
        DeleteFileW(widen(target).c_str());
        RunResult r = run(command, dir_.str());
        EXPECT_EQ(r.exitCode, 0u) << command << r.err;
        EXPECT_EQ(readFile(target), audio) << command;
    }
    EXPECT_EQ(readFile(dir_.file("flac\\standin-calls.txt")), commands[0] + "\t" + dir_.str() + "\n");
}

TEST_F(StandinPrograms, DecoderRulesShapeTheOutputAndExitCode) {
    enum class Target { Whole, FirstHalf, Absent };
    const struct {
        const char* rule;
        DWORD exitCode;
        Target target;
    } cases[] = {
        {"decoder exit=5\n", 5, Target::Whole},
        {"decoder output=partial sleep=10\n", 0, Target::FirstHalf},
        {"decoder output=none exit=1\n", 1, Target::Absent},
        {"decoder output=half\n", 2, Target::Absent},
    };
    std::string target = dir_.file("KelvrA_2.tmp");
    for (const auto& c : cases) {
        std::string content = std::string(c.rule) + std::string(1001, '#');
        std::string source = script("x.flac", content);
        DeleteFileW(widen(target).c_str());
        RunResult r =
            run(inQuotes(dir_.file("flac\\flac.exe")) + " -d -f -o " + inQuotes(target) + " " + inQuotes(source),
                dir_.str());
        EXPECT_EQ(r.exitCode, c.exitCode) << c.rule;
        bool exists = GetFileAttributesW(widen(target).c_str()) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(exists, c.target != Target::Absent) << c.rule;
        if (c.target == Target::Whole) {
            EXPECT_EQ(readFile(target), content) << c.rule;
        }
        if (c.target == Target::FirstHalf) {
            EXPECT_EQ(readFile(target), content.substr(0, content.size() / 2)) << c.rule;
        }
    }
}

TEST_F(StandinPrograms, DecoderRefusesAnUnknownNameOrLayout) {
    copy(dir_.file("flac\\flac.exe"), "lame.exe");
    std::string source = script("x.flac", "audio");
    const std::string commands[] = {
        inQuotes(dir_.file("lame.exe")) + " " + inQuotes(source) + " out.wav",
        inQuotes(dir_.file("flac\\flac.exe")) + " -d " + inQuotes(source) + " out.wav",
        inQuotes(dir_.file("ape\\mac.exe")) + " " + inQuotes(source) + " " + inQuotes(source) + " -d",
    };
    for (const std::string& command : commands) {
        RunResult r = run(command, dir_.str());
        EXPECT_EQ(r.exitCode, 2u) << command;
        EXPECT_FALSE(r.err.empty()) << command;
        EXPECT_EQ(readFile(source), "audio") << command;
    }
}
