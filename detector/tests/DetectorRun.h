#pragma once
// Runs of the detector program in tests: a scratch folder for the files, and what one run printed and returned.
#include "Detector.h"
#include "WavBuilder.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace qvdet::test {

// A folder of its own under the system's temporary folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir() { std::filesystem::create_directories(path_); }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::filesystem::path write(const std::string& name, const Bytes& bytes) const {
        const auto file = path_ / std::filesystem::u8path(name);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    const std::filesystem::path path_ =
        std::filesystem::temp_directory_path() / ("qvdet-" + std::to_string(std::random_device()()));
};

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
};

inline RunResult runOn(const std::filesystem::path& file, int mode = 0, const std::filesystem::path& picture = {}) {
    std::ostringstream out, err;
    const int code = runDetector(file, mode, out, err, picture);
    return {code, out.str(), err.str()};
}

} // namespace qvdet::test
