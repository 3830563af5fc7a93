#include "common/HostFileSystem.h"

#include <windows.h>

namespace qv {

namespace {

class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// 1970-01-01 in FILETIME ticks (100 ns since 1601).
constexpr int64_t kFileTimeOf1970 = 116444736000000000;

} // namespace

bool listDirectory(const std::string& pattern, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND; // an existing directory with no match
    do {
        DirectoryEntry entry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
        entry.size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
        entry.writeTime = static_cast<int64_t>((uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                               data.ftLastWriteTime.dwLowDateTime) -
                          kFileTimeOf1970;
        entries.push_back(entry);
    } while (FindNextFileA(find.get(), &data));
    return true;
}

uint32_t deleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) ? 0 : GetLastError();
}

std::string toHostPath(const std::string& path) {
    return path;
}

} // namespace qv
