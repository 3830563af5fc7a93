#include "common/TextFit.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// One unit a character, as a monospaced font would measure; continuation bytes of UTF-8 take no room.
int characters(const std::string& text) {
    int count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

bool validUtf8Cut(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

struct FitCase {
    const char* text;
    int width;
    const char* expected;
};

TEST(TextFit, PathKeepsTheDriveAndAsManyTrailingFoldersAsFit) {
    const std::string album = "D:\\Music\\Lossless\\Artist\\2001 - Album Title (Deluxe Edition)\\CD 2";
    const FitCase cases[] = {
        {album.c_str(), characters(album), album.c_str()},
        {album.c_str(), 54, "D:\\...\\Artist\\2001 - Album Title (Deluxe Edition)\\CD 2"},
        {album.c_str(), 53, "D:\\...\\2001 - Album Title (Deluxe Edition)\\CD 2"},
        {album.c_str(), 47, "D:\\...\\2001 - Album Title (Deluxe Edition)\\CD 2"},
        // Not even the last two folders fit: the end of the path.
        {album.c_str(), 40, "...1 - Album Title (Deluxe Edition)\\CD 2"},
        {"NoBackslashAtAll", 8, "...AtAll"},
        {album.c_str(), 2, "..."},
    };
    for (const FitCase& c : cases) {
        const std::string shown = qv::fitPathToWidth(c.text, c.width, characters);
        EXPECT_EQ(c.expected, shown) << "width " << c.width;
        EXPECT_LE(characters(shown), std::max(c.width, 3));
    }
}

TEST(TextFit, NameKeepsItsStartAndTheLargerShareOfItsEnd) {
    const FitCase cases[] = {
        {"0123456789.wav", 14, "0123456789.wav"},
        {"0123456789.wav", 10, "01...9.wav"},
        {"0123456789.wav", 13, "0123...89.wav"},
        {"0123456789.wav", 3, "..."},
    };
    for (const FitCase& c : cases)
        EXPECT_EQ(c.expected, qv::fitNameToWidth(c.text, c.width, characters)) << c.text << " in " << c.width;
}

TEST(TextFit, NeverCutsACharacterOfUtf8) {
    const std::string name = "\xE6\x9D\xB1\xE4\xBA\xAC\xE3\x81\xAE\xE5\xA4\x9C - Fj\xC3\xB6rd \xE6\x9D\xB1.wav";
    const std::string path = "Z:\\\xC3\x9C\\" + name;
    for (int width = 3; width <= characters(path); ++width) {
        const std::string fittedName = qv::fitNameToWidth(name, width, characters);
        const std::string fittedPath = qv::fitPathToWidth(path, width, characters);
        EXPECT_TRUE(validUtf8Cut(fittedName)) << width;
        EXPECT_TRUE(validUtf8Cut(fittedPath)) << width;
        EXPECT_LE(characters(fittedName), width);
        EXPECT_LE(characters(fittedPath), width);
    }
}

} // namespace
