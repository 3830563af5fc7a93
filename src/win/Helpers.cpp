#include "win/Helpers.h"

#include "common/Version.h"

#include <windows.h>

namespace qv::win {

void showMessageBox(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), kProductName, MB_OK);
}

std::string environmentVariable(const char* name) {
    char buffer[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (length > 0 && length < sizeof buffer) ? std::string(buffer, length) : std::string();
}

bool isExistingFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string temporaryDirectory() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string directory(buffer, length < sizeof buffer ? length : 0);
    while (!directory.empty() && directory.back() == '\\')
        directory.pop_back();
    return directory;
}

} // namespace qv::win
