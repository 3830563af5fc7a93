#include "engine/win/DecoderTableBuilder.h"

#include "common/HostFileSystem.h"

#include <windows.h>

namespace qv {

namespace {

bool hasAttributes(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

DecoderTable buildDecoderTable(const std::string& programDirectory, RegistryKey& key) {
    DecoderTable table;
    std::vector<DirectoryEntry> entries;
    if (!listDirectory(programDirectory + "\\*", entries))
        return table;
    DecoderEnvironment environment;
    environment.readValue = [&key](const std::string& valueName) { return key.readString(valueName.c_str()); };
    environment.writeValue = [&key](const std::string& valueName, const std::string& value) {
        key.writeString(valueName.c_str(), value.c_str());
    };
    environment.exists = hasAttributes;
    for (const DirectoryEntry& entry : entries) {
        if (entry.name == "." || entry.name == "..")
            continue;
        if (!isDirectory(programDirectory + "\\" + entry.name))
            continue;
        if (std::optional<DecoderRow> row = rowForSubdirectory(programDirectory, entry.name, environment))
            table.append(std::move(*row));
    }
    return table;
}

} // namespace qv
