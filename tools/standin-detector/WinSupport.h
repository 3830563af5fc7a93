#pragma once
// Win32 plumbing shared by the helper programs: an owning handle, UTF-8 text, arguments, whole writes and the call
// log that lets end-to-end tests see how the stand-ins were started.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qvtools {

// Owns one kernel handle; null and INVALID_HANDLE_VALUE both mean "none".
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset(HANDLE handle = nullptr) {
        if (valid())
            CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& text);

// The process's arguments in UTF-8, split by the system's own rules; element 0 is the program.
std::vector<std::string> commandLineArguments();

// The full path of this program, and its directory without a trailing backslash.
std::string modulePath();
std::string directoryOf(const std::string& path);
std::string fileNameOf(const std::string& path);

// Writes everything, looping over partial writes. False once a write fails (a closed pipe, a null handle).
bool writeAll(HANDLE handle, const char* data, std::size_t size);
inline bool writeAll(HANDLE handle, const std::string& text) {
    return writeAll(handle, text.data(), text.size());
}

// Message on standard error, followed by CR LF.
void reportError(const std::string& message);

// Reads at most limit bytes from the start of a file. A cut text ends at its last complete line.
bool readFileHead(const std::string& path, std::size_t limit, std::string& content);

// Appends "<command line>\t<current directory>\n" to standin-calls.txt in directory. Other stand-ins may be
// appending at the same moment, so a sharing violation is waited out.
void appendCallLog(const std::string& directory);

// Ends the process the way a crash does, without a debugger or error dialog that would stall a test run.
void crashProcess();

// Never returns; the process is ended from outside.
[[noreturn]] void hangForever();

} // namespace qvtools
