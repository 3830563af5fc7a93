#include "common/TextFit.h"

#include <gtest/gtest.h>

namespace {

// One unit a character, as a monospaced font would measure; continuation bytes of UTF-8 take no room.
int characters(const std::string& text) {
    int count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

TEST(TextFit, PathKeepsTheDriveAndAsManyTrailingFoldersAsFitNameKeepsMoreOfItsEnd) {
    const std::string album = "D:\\Music\\Lossless\\Artist\\2001 - Album Title (Deluxe Edition)\\CD 2";
    const std::tuple<std::string, int, const char*> paths[] = {
        {album, 65, album.c_str()},
        {album, 54, "D:\\...\\Artist\\2001 - Album Title (Deluxe Edition)\\CD 2"},
        {album, 53, "D:\\...\\2001 - Album Title (Deluxe Edition)\\CD 2"},
        {album, 47, "D:\\...\\2001 - Album Title (Deluxe Edition)\\CD 2"},
        {album, 46, "...st\\2001 - Album Title (Deluxe Edition)\\CD 2"}, // not even the last two folders fit
        {album, 2, "..."},
        {"Z:\\\xC3\x9C\\\xE6\x9D\xB1\xE4\xBA\xAC.wav", 8, "...\xE4\xBA\xAC.wav"}, // never a part of a character
    };
    for (const auto& [path, width, expected] : paths)
        EXPECT_EQ(qv::fitPathToWidth(path, width, characters), expected) << "width " << width;
    const std::tuple<const char*, int, const char*> names[] = {
        {"0123456789.wav", 14, "0123456789.wav"},
        {"0123456789.wav", 13, "0123...89.wav"},
        {"0123456789.wav", 10, "01...9.wav"},
        {"\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xAE.wav", 6, "\xE6\x9D\xB1...av"},
    };
    for (const auto& [name, width, expected] : names)
        EXPECT_EQ(qv::fitNameToWidth(name, width, characters), expected) << name << " in " << width;
}

} // namespace
