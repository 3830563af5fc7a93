#include "settings/win/RegistryKey.h"

#include <cwchar>

namespace qv {

namespace {

// Names and strings travel as UTF-16 in buffers of this many units, terminator included.
constexpr int kWideCapacity = 256;
using WideBuffer = wchar_t[kWideCapacity];

// With the UTF-8 or GB18030 code page any flag but MB_ERR_INVALID_CHARS makes the conversion fail outright.
DWORD ansiToWideFlags() {
    constexpr UINT kGb18030 = 54936;
    UINT codePage = GetACP();
    return codePage == CP_UTF8 || codePage == kGb18030 ? 0 : MB_PRECOMPOSED;
}

bool toWide(const char* text, WideBuffer& buffer) {
    return MultiByteToWideChar(CP_ACP, ansiToWideFlags(), text, -1, buffer, kWideCapacity) > 0;
}

int ansiLength(const wchar_t* text, int units) {
    return units == 0 ? 0 : WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
}

} // namespace

std::vector<HKEY> productRegistryRoots() {
    return {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
}

RegistryKey::RegistryKey(const std::string& path, const std::vector<HKEY>& roots) : path_(path) {
    WideBuffer widePath;
    if (!toWide(path.c_str(), widePath))
        return;
    for (HKEY root : roots) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, widePath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            key_ = key;
            root_ = root;
            return;
        }
    }
}

RegistryKey::~RegistryKey() {
    if (key_ != nullptr)
        RegCloseKey(key_);
}

int32_t RegistryKey::readNumber(const char* name, int32_t defaultValue) const {
    WideBuffer wideName;
    if (key_ == nullptr || name == nullptr || !toWide(name, wideName))
        return defaultValue;
    DWORD size = 0;
    if (RegQueryValueExW(key_, wideName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return defaultValue;
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(key_, wideName, nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS || size < 4)
        return defaultValue;
    uint32_t value = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                     static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    return static_cast<int32_t>(value);
}

std::wstring RegistryKey::readWide(const char* name) const {
    WideBuffer wideName;
    if (key_ == nullptr || name == nullptr || !toWide(name, wideName))
        return std::wstring();
    DWORD size = 0;
    if (RegQueryValueExW(key_, wideName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
        return std::wstring();
    WideBuffer data;
    DWORD bytes = sizeof data;
    if (RegQueryValueExW(key_, wideName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &bytes) != ERROR_SUCCESS)
        return std::wstring();
    // Stored data need not carry its terminator.
    std::size_t units = bytes / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < units && data[length] != L'\0')
        ++length;
    return std::wstring(data, length);
}

void RegistryKey::readString(const char* name, char* buffer, int bufferSize) const {
    if (buffer == nullptr || bufferSize <= 0)
        return;
    buffer[0] = '\0';
    std::wstring wide = readWide(name);
    int units = static_cast<int>(wide.size());
    while (units > 0 && ansiLength(wide.data(), units) > bufferSize - 1) {
        --units;
        if (units > 0 && IS_HIGH_SURROGATE(wide[static_cast<std::size_t>(units) - 1]))
            --units;
    }
    int written =
        units == 0 ? 0 : WideCharToMultiByte(CP_ACP, 0, wide.data(), units, buffer, bufferSize - 1, nullptr, nullptr);
    buffer[written > 0 ? written : 0] = '\0';
}

std::string RegistryKey::readString(const char* name) const {
    std::wstring wide = readWide(name);
    int units = static_cast<int>(wide.size());
    int length = ansiLength(wide.data(), units);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), units, &text[0], length, nullptr, nullptr);
    return text;
}

void RegistryKey::writeNumber(const char* name, int32_t value) {
    WideBuffer wideName;
    if (key_ == nullptr || name == nullptr || !toWide(name, wideName))
        return;
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key_, wideName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

void RegistryKey::writeString(const char* name, const char* value) {
    WideBuffer wideName;
    WideBuffer wideValue;
    if (key_ == nullptr || name == nullptr || value == nullptr || !toWide(name, wideName) || !toWide(value, wideValue))
        return;
    DWORD bytes = static_cast<DWORD>((std::wcslen(wideValue) + 1) * sizeof(wchar_t));
    RegSetValueExW(key_, wideName, 0, REG_SZ, reinterpret_cast<const BYTE*>(wideValue), bytes);
}

void deleteSubkey(HKEY root, const std::string& path) {
    WideBuffer widePath;
    if (root == nullptr || !toWide(path.c_str(), widePath))
        return;
    RegDeleteKeyW(root, widePath);
}

} // namespace qv
