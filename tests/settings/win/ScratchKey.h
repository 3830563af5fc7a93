#pragma once
// A registry key of its own for one test, deleted with everything below it when the test ends.
#include <windows.h>

#include <random>
#include <string>

namespace qvtest {

class ScratchKey {
public:
    ScratchKey() : path_("SOFTWARE\\QuorvaneTest\\" + std::to_string(std::mt19937_64(std::random_device()())())) {}
    ~ScratchKey() {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            RegDeleteTreeA(root, path_.c_str());
            RegDeleteKeyA(root, "SOFTWARE\\QuorvaneTest"); // fails while other tests still hold keys there
        }
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline bool keyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace qvtest
