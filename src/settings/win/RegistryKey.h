#pragma once
// The accessor of the program's registry key. Reads fall back to defaults and empty strings, writes without a
// key do nothing: no operation reports an error.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Where the program's key is opened, in order: the machine-wide key, then the user's own when the
// machine-wide one is not writable.
std::vector<HKEY> productRegistryRoots();

class RegistryKey {
public:
    // Opens or creates path with full access under the first root that allows it.
    explicit RegistryKey(const std::string& path, const std::vector<HKEY>& roots = productRegistryRoots());
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool isOpen() const { return key_ != nullptr; }
    // The root the key was opened under; null when it could not be opened.
    HKEY root() const { return root_; }
    const std::string& path() const { return path_; }

    // The first four bytes of the value as a signed little-endian number, whatever its type.
    int32_t readNumber(const char* name, int32_t defaultValue) const;
    // Stores the value, cut to bufferSize - 1 bytes on a character boundary, or an empty string when it is
    // missing, unreadable or longer than 255 characters.
    void readString(const char* name, char* buffer, int bufferSize) const;
    std::string readString(const char* name) const;

    void writeNumber(const char* name, int32_t value);
    // A value longer than 255 characters is not written.
    void writeString(const char* name, const char* value);

private:
    std::wstring readWide(const char* name) const;

    HKEY key_ = nullptr;
    HKEY root_ = nullptr;
    std::string path_;
};

// Deletes a key that has no subkeys of its own; failures are ignored.
void deleteSubkey(HKEY root, const std::string& path);

} // namespace qv
