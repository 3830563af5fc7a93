#include "WinSupport.h"

namespace qvtools {

namespace {

LONG WINAPI endOnException(EXCEPTION_POINTERS*) {
    return EXCEPTION_EXECUTE_HANDLER;
}

// How long an appender waits for another one to let go of the call log.
const DWORD kCallLogPatienceMs = 10000;

} // namespace

std::wstring widen(const std::string& utf8) {
    if (utf8.empty())
        return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], size);
    return text;
}

std::string narrow(const std::wstring& text) {
    if (text.empty())
        return std::string();
    int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::string modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string directoryOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(HANDLE handle, const char* data, std::size_t size) {
    while (size > 0) {
        DWORD piece = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle, data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

void reportError(const std::string& message) {
    writeAll(GetStdHandle(STD_ERROR_HANDLE), message + "\r\n");
}

bool readFileHead(const std::string& path, std::size_t limit, std::string& content) {
    ScopedHandle file(CreateFileW(widen(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    // One byte beyond the limit tells a cut text from one that fits exactly.
    content.assign(limit + 1, '\0');
    std::size_t filled = 0;
    while (filled < content.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(content.size() - filled);
        if (!ReadFile(file.get(), &content[filled], want, &got, nullptr))
            return false;
        if (got == 0)
            break;
        filled += got;
    }
    content.resize(filled);
    if (filled > limit) {
        std::size_t lastLineEnd = content.rfind('\n', limit - 1);
        content.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
    }
    return true;
}

void appendCallLog(const std::string& directory) {
    std::wstring cwd(MAX_PATH, L'\0');
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), &cwd[0]);
    if (length >= cwd.size()) {
        cwd.resize(length);
        length = GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), &cwd[0]);
    }
    cwd.resize(length < cwd.size() ? length : 0);
    std::string line = narrow(GetCommandLineW()) + "\t" + narrow(cwd) + "\n";

    std::wstring path = widen(directory + "\\standin-calls.txt");
    ULONGLONG deadline = GetTickCount64() + kCallLogPatienceMs;
    while (true) {
        ScopedHandle log(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (log.valid()) {
            if (!writeAll(log.get(), line))
                reportError("warning: cannot write the call log");
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION || GetTickCount64() > deadline) {
            reportError("warning: cannot open the call log");
            return;
        }
        Sleep(10);
    }
}

void crashProcess() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(endOnException);
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
}

void hangForever() {
    for (;;)
        Sleep(INFINITE);
}

} // namespace qvtools
