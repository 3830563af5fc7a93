#include "queue/Listing.h"

#include "common/Text.h"

namespace qv {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string handOffFileName(const std::string& directory, uint32_t processId, uint32_t sequence) {
    return directory +
           formatText("\\Queue_%x_%x.log", static_cast<unsigned>(processId), static_cast<unsigned>(sequence));
}

std::string handOffTemporaryName(const std::string& finalName) {
    return finalName + ".part";
}

uint32_t sizeInKb(uint64_t sizeBytes) {
    if (sizeBytes >= (uint64_t{1} << 31))
        return 2097152;
    if (sizeBytes < 1024)
        return 1;
    return static_cast<uint32_t>((sizeBytes + 512) / 1024);
}

bool fitsPathBuffer(const std::string& path) {
    return path.size() + 1 <= kPathBufferSize;
}

bool isAbsolutePath(const std::string& path) {
    if (path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == ':' && isSeparator(path[2]))
        return true;
    return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
}

std::optional<QueueEntry> acceptedEntry(const std::string& path, uint64_t sizeBytes, const DecoderTable& decoders) {
    std::string type;
    if (!fileTypeOf(path, type) || decoders.findRow(type) == nullptr)
        return std::nullopt;
    return QueueEntry{path, type, sizeInKb(sizeBytes)};
}

} // namespace qv
