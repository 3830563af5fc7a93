#include "app/win/SendToShortcut.h"

#include "support/TempDir.h"
#include "win/Handles.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

using namespace qv;

namespace {

struct Link {
    std::string path;
    std::string description;
};

Link readLink(const std::string& file) {
    Link read;
    win::ComApartment apartment;
    win::ComPtr<IShellLinkA> link;
    win::ComPtr<IPersistFile> persist;
    std::wstring wideFile(file.begin(), file.end()); // the prefix's folder names are ASCII
    char text[MAX_PATH] = {};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   link.replaceVoidAddress())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, persist.replaceVoidAddress())) &&
        SUCCEEDED(persist->Load(wideFile.c_str(), STGM_READ))) {
        if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
            read.path = text;
        if (SUCCEEDED(link->GetDescription(text, MAX_PATH)))
            read.description = text;
    }
    return read;
}

} // namespace

TEST(SendToShortcut, ReplacesWhateverIsInTheShellsSendToFolderWithALinkToTheTarget) {
    char shellFolder[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, shellFolder)));
    ASSERT_EQ(sendToFolder(), shellFolder);
    const std::string file = sendToFolder() + "\\Quorvane.lnk";
    // The prefix's real folder is used; whatever was there is put back afterwards.
    const bool existed = qvtest::fileExists(file);
    const std::string before = existed ? qvtest::readFile(file) : std::string();
    qvtest::writeFile(file, "not a link");
    char target[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, target, MAX_PATH);

    EXPECT_TRUE(createSendToShortcut(target));
    const std::string written = qvtest::readFile(file);
    const Link link = readLink(file);

    if (existed)
        qvtest::writeFile(file, before);
    else
        DeleteFileA(file.c_str());
    EXPECT_EQ(written.substr(0, 4), std::string("L\0\0\0", 4));
    EXPECT_EQ(link.path, target);
    EXPECT_EQ(link.description, "Quorvane");
}
