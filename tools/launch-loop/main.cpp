// Baseline for the overhead benchmark: starts the detector count times, one after the other, the way the program
// does it (stdout through a pipe drained while the child runs, hidden window, idle priority class, waiting for the
// main thread), and prints how long that took. The program's own overhead is measured against this figure.
#include "WinSupport.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using qvtools::ScopedHandle;

// Runs one detector pass and drains its output into memory; false when the child cannot be started.
bool launchOnce(const std::wstring& commandLine, const std::wstring& directory, std::string& output) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return false;
    ScopedHandle reader(read);
    ScopedHandle writer(write);
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = write;
    PROCESS_INFORMATION info = {};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, IDLE_PRIORITY_CLASS | CREATE_NO_WINDOW, nullptr,
                        directory.c_str(), &startup, &info))
        return false;
    ScopedHandle process(info.hProcess);
    ScopedHandle thread(info.hThread);
    // Started like Quorvane's children: no console of its own, idle thread priority (the default level).
    SetThreadPriority(info.hThread, THREAD_PRIORITY_IDLE);
    // Only the child may hold the write end, or the read below would never see the end of the output.
    writer.reset();

    char block[2048];
    DWORD got = 0;
    output.clear();
    while (ReadFile(reader.get(), block, sizeof block, &got, nullptr) && got > 0)
        output.append(block, got);
    WaitForSingleObject(thread.get(), INFINITE);
    return true;
}

bool parseCount(const std::string& text, unsigned long& count) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    count = std::stoul(text);
    return count > 0;
}

} // namespace

int main() {
    std::vector<std::string> args = qvtools::commandLineArguments();
    unsigned long count = 0;
    if (args.size() != 4 || !parseCount(args[3], count)) {
        qvtools::reportError("usage: qvlaunchloop.exe <detectorExe> <file> <count>");
        return 2;
    }
    const std::string& detector = args[1];
    const std::string& file = args[2];
    std::wstring directory = qvtools::widen(qvtools::directoryOf(detector));

    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    std::string output;
    for (unsigned long i = 0; i < count; ++i) {
        std::string commandLine = "\"" + detector + "\" -m" + std::to_string(i % 2) + " \"" + file + "\"";
        if (!launchOnce(qvtools::widen(commandLine), directory, output)) {
            qvtools::reportError("error: cannot start " + detector + " (error " + std::to_string(GetLastError()) + ")");
            return 1;
        }
    }
    QueryPerformanceCounter(&end);

    double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    char line[96];
    snprintf(line, sizeof line, "launches=%lu seconds=%.3f\n", count, seconds);
    qvtools::writeAll(GetStdHandle(STD_OUTPUT_HANDLE), line);
    return 0;
}
