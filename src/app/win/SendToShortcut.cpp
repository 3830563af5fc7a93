#include "app/win/SendToShortcut.h"

#include "common/Version.h"
#include "win/Handles.h"

#include <shlobj.h>

namespace qv {

namespace {

std::string environmentVariable(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return std::string();
    std::string value(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    if (length == 0 || length >= size)
        return std::string();
    value.resize(length);
    return value;
}

// CP_ACP, not the thread's code page: the path came from the ANSI shell calls, which use the process code page
// (UTF-8 under the program's manifest).
std::wstring toWide(const std::string& text) {
    int units = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], units) != units)
        return std::wstring();
    wide.resize(static_cast<std::size_t>(units) - 1);
    return wide;
}

} // namespace

std::string sendToFolder() {
    char folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, folder)) && folder[0] != '\0')
        return folder;
    std::string profile = environmentVariable("USERPROFILE");
    return profile.empty() ? std::string() : profile + "\\SendTo";
}

bool createSendToShortcut(const std::string& targetPath) {
    win::ComApartment apartment;
    win::ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.replaceVoidAddress())))
        return false;
    link->SetPath(targetPath.c_str());
    link->SetDescription(kProductName);
    link->SetIconLocation(targetPath.c_str(), 0);
    link->SetWorkingDirectory("");
    win::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.replaceVoidAddress())))
        return false;
    // Without a folder the path would fall back to the root of the current drive.
    std::string folder = sendToFolder();
    if (folder.empty())
        return false;
    std::string path = folder + "\\" + kSendToShortcutName;
    std::wstring widePath = toWide(path);
    if (widePath.empty())
        return false;
    DeleteFileA(path.c_str());
    return SUCCEEDED(file->Save(widePath.c_str(), TRUE));
}

} // namespace qv
