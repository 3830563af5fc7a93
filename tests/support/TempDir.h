#pragma once
// A scratch directory for one test, removed with everything in it when the test ends.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace qvtest {

class TempDir {
public:
    TempDir() {
        std::random_device seed;
        std::mt19937_64 rng(seed());
        path_ = std::filesystem::temp_directory_path() / ("qvtest-" + std::to_string(rng()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory as the program spells paths: with backslashes on Windows.
    std::string str() const { return path_.string(); }
    // A file inside it, joined the way the program joins paths.
    std::string file(const std::string& name) const {
#ifdef _WIN32
        return str() + "\\" + name;
#else
        return str() + "/" + name;
#endif
    }
    const std::filesystem::path& path() const {
        return path_;
    }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

inline bool fileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace qvtest
