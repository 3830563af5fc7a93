#pragma once
// A scratch directory for one test, removed with everything in it when the test ends.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace qvtest {

class TempDir {
public:
    TempDir() : path_(std::filesystem::temp_directory_path() / ("qvtest-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, and a file inside it, as the program spells paths: with backslashes on Windows.
    std::string str() const { return path_.string(); }
    std::string file(const std::string& name) const {
        return str() + static_cast<char>(std::filesystem::path::preferred_separator) + name;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

inline bool fileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace qvtest
