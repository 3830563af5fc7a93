#include "common/StateFile.h"

#include "common/Clock.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "common/Version.h"

#include <atomic>
#include <cstdio>
#include <utility>

namespace qv {

std::string stateFileHeader() {
    return ";\r\n" + formatText("; %s %s\r\n", kProductName, kVersion) + "; " + localTimestamp() + "\r\n;\r\n";
}

std::vector<std::string> readDataLines(const std::string& content, LineEnds lineEnds) {
    std::vector<std::string> lines;
    const std::size_t size = content.size();
    std::size_t pos = 0;
    while (pos < size) {
        char first = content[pos];
        if (first == '\r' || first == '\n') {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < size && content[end] != '\r' && content[end] != '\n')
            ++end;
        if (first != ';' && first != '#') {
            std::string line = content.substr(pos, end - pos);
            // Older builds and other programs wrote these files in the system's ANSI code page.
            if (!isValidUtf8(line))
                line = ansiToUtf8(line);
            if (line.size() > kMaxDataLine)
                line.resize(kMaxDataLine);
            lines.push_back(std::move(line));
            if (lineEnds == LineEnds::CrSkipsNext && end < size && content[end] == '\r') {
                pos = end + 2; // the character after the CR goes unread
                continue;
            }
        }
        pos = end;
    }
    return lines;
}

bool readWholeFile(const std::string& path, std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    content.clear();
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        content.append(buffer, got);
    std::fclose(file);
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& content) {
    // One process may write several state files at once from two threads; the counter keeps the
    // temporary names apart.
    static std::atomic<unsigned> sequence{0};
    std::string temporary = path + formatText(".%u.part", ++sequence);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    written = (std::fflush(file) == 0) && written;
    written = (std::fclose(file) == 0) && written;
    if (!written || !replaceFile(temporary, path)) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

void removeFile(const std::string& path) {
    std::remove(path.c_str());
}

} // namespace qv
