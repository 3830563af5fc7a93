#pragma once
// The few host file-system calls that portable code makes with paths spelled the program's way
// (backslash-separated). On Windows they pass straight through; the native build maps them.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
    uint64_t size = 0;
    // Last write, in 100-ns ticks since 1970-01-01 00:00 UTC.
    int64_t writeTime = 0;
};

inline constexpr int64_t kTicksPerSecond = 10000000;

// Entries of a directory whose names match the wildcard pattern's last component ("dir\*",
// "dir\kelvra.*.log"), in the file system's listing order. "*" matches any run of characters, "?" one,
// letters without regard to case. False when the listing cannot be started.
bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries);

// Deletes a file. 0 on success, else the system's error number (kept for the log line).
uint32_t deleteFile(const std::string& path);

// The path as the host's C runtime wants it: unchanged on Windows, backslashes turned to slashes elsewhere.
std::string toHostPath(const std::string& path);

} // namespace qv
