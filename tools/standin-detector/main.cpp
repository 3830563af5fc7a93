// Stand-in for the outside detector: behaves on each file as the file's own script says, so end-to-end tests get
// exact verdicts, output sizes, delays, exit codes, hangs and crashes without real audio analysis.
#include "StandinScript.h"
#include "WinSupport.h"

#include <string>
#include <vector>

namespace {

using qvstandin::DetectorRule;

const std::size_t kScriptLimit = 1 << 20;
const std::size_t kChunk = 64 * 1024;

struct Invocation {
    uint32_t mode = 0;
    std::string file;
};

// "[-mN] [--picture OUT] file", options in any order; false on anything else. The picture is never drawn: the
// stand-in plays a detector that takes the option but writes no file, so that a script can hang while drawing.
bool parseInvocation(const std::vector<std::string>& args, Invocation& invocation) {
    std::size_t next = 1;
    while (next + 1 < args.size()) {
        if (args[next] == "--picture" && next + 2 < args.size()) {
            next += 2;
            continue;
        }
        if (args[next].compare(0, 2, "-m") != 0)
            return false;
        const std::string digits = args[next].substr(2);
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        invocation.mode = static_cast<uint32_t>(std::stoul(digits));
        ++next;
    }
    if (next + 1 != args.size() || args[next].empty())
        return false;
    invocation.file = args[next];
    return true;
}

bool writeNoise(HANDLE handle, uint64_t bytes) {
    while (bytes > 0) {
        std::string chunk = qvstandin::noiseChunk(bytes, kChunk);
        if (!qvtools::writeAll(handle, chunk))
            return false;
        bytes -= chunk.size();
    }
    return true;
}

// A slow pass that keeps progressing: short bursts on the processor, three times as long off it.
void workSlowly(uint32_t ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (GetTickCount64() < end) {
        const ULONGLONG burstEnd = GetTickCount64() + 20;
        volatile uint32_t spin = 0;
        while (GetTickCount64() < burstEnd)
            spin = spin + 1;
        Sleep(60);
    }
}

int run(const DetectorRule& rule) {
    if (rule.sleepMs > 0)
        Sleep(rule.sleepMs);
    if (rule.busyMs > 0)
        workSlowly(rule.busyMs);
    // Nobody may be listening on standard error; its failures are not the test's business.
    writeNoise(GetStdHandle(STD_ERROR_HANDLE), rule.stderrBytes);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (writeNoise(out, rule.noiseBytes)) {
        std::string tail = qvstandin::verdictLine(rule);
        if (rule.text)
            tail += *rule.text + "\r\n";
        qvtools::writeAll(out, tail);
    }
    if (rule.hang)
        qvtools::hangForever();
    if (rule.crash)
        qvtools::crashProcess();
    return static_cast<int>(rule.exitCode);
}

} // namespace

// wmain, not commandLineArguments: loading the shell's library would cost every pass more than the stand-in's own
// work, and the benchmarks read the stand-in's time as the program's own cost per file.
int wmain(int argc, wchar_t** argv) {
    qvtools::appendCallLog(qvtools::directoryOf(qvtools::modulePath()));

    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(qvtools::narrow(argv[i]));
    Invocation invocation;
    if (!parseInvocation(args, invocation)) {
        qvtools::reportError("usage: aucdtect.exe [-mN] [--picture OUT] file");
        return 2;
    }
    std::string content;
    if (!qvtools::readFileHead(invocation.file, kScriptLimit, content)) {
        qvtools::reportError("error: cannot open " + invocation.file);
        return 2;
    }
    qvstandin::ScriptParse parsed = qvstandin::parseScript(content);
    if (!parsed.ok) {
        qvtools::reportError("error: " + invocation.file + ": " + parsed.error);
        return 2;
    }
    return run(qvstandin::detectorRuleFor(parsed.script, invocation.mode));
}
