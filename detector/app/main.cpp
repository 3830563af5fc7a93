// aucdtect: tells from a WAV file's spectrum whether it passed through a lossy encoder.
#include "CommandLine.h"
#include "Detector.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

int run(const std::vector<std::string>& args) {
    const qvdet::CommandLine line = qvdet::parseCommandLine(args);
    if (!line.ok) {
        std::cerr << "error: " << line.error << "\n" << qvdet::kUsage << "\n";
        return 2;
    }
    // The one place where the standard library's exceptions can surface: a file too big for the memory left.
    try {
        const std::filesystem::path picture =
            line.picture.empty() ? std::filesystem::path() : std::filesystem::u8path(line.picture);
        return qvdet::runDetector(std::filesystem::u8path(line.file), line.mode, std::cout, std::cerr, picture);
    } catch (const std::exception& failure) {
        std::cerr << "error: " << failure.what() << "\n";
        return 1;
    }
}

} // namespace

#ifdef _WIN32
// Wide arguments, so that file names outside the ANSI code page still open.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(std::filesystem::path(argv[i]).u8string());
    }
    return run(args);
}
#else
int main(int argc, char** argv) {
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
