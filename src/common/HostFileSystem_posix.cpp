#include "common/HostFileSystem.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace qv {

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Iterative wildcard match with backtracking to the last "*", as the Windows listing treats these patterns.
bool wildcardMatches(const std::string& pattern, const std::string& name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries) {
    std::string hostPattern = toHostPath(pattern);
    std::size_t slash = hostPattern.rfind('/');
    std::string directory = slash == std::string::npos ? "." : hostPattern.substr(0, slash + 1);
    std::string namePattern = slash == std::string::npos ? hostPattern : hostPattern.substr(slash + 1);

    entries.clear();
    std::error_code error;
    std::filesystem::directory_iterator it(directory, error);
    if (error)
        return false;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error)
            break;
        std::string name = it->path().filename().string();
        if (!wildcardMatches(namePattern, name))
            continue;
        DirectoryEntry entry{name, it->is_directory(error)};
        struct stat status {};
        if (stat(it->path().c_str(), &status) == 0) {
            entry.size = static_cast<uint64_t>(status.st_size);
            entry.writeTime =
                static_cast<int64_t>(status.st_mtim.tv_sec) * kTicksPerSecond + status.st_mtim.tv_nsec / 100;
        }
        entries.push_back(entry);
    }
    return true;
}

uint32_t deleteFile(const std::string& path) {
    return std::remove(toHostPath(path).c_str()) == 0 ? 0 : static_cast<uint32_t>(errno);
}

std::string toHostPath(const std::string& path) {
    std::string host = path;
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

} // namespace qv
