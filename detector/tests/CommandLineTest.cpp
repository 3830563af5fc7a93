#include "CommandLine.h"

#include <gtest/gtest.h>

namespace qvdet {
namespace {

TEST(CommandLine, AcceptsModeAndFileInEitherOrder) {
    struct Case {
        std::vector<std::string> args;
        int mode;
        std::string file;
        std::string picture = "";
    };
    const Case cases[] = {
        {{"track.wav"}, 0, "track.wav"},
        {{"-m0", "C:\\dir with blanks\\a.wav"}, 0, "C:\\dir with blanks\\a.wav"},
        {{"-m12", "a.wav"}, 12, "a.wav"},
        {{"a.wav", "-m40"}, 40, "a.wav"},
        {{"-m7", "-m3", "a.wav"}, 3, "a.wav"},
        {{"-m99999999999999999999", "a.wav"}, 1000000, "a.wav"},
        {{"-"}, 0, "-"},
        {{"--picture", "-m1.png", "-m2", "a.wav"}, 2, "a.wav", "-m1.png"},
        {{"a.wav", "--picture", "C:\\out dir\\p.png"}, 0, "a.wav", "C:\\out dir\\p.png"},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_TRUE(line.ok) << c.args[0] << ": " << line.error;
        EXPECT_EQ(line.mode, c.mode) << c.args[0];
        EXPECT_EQ(line.file, c.file) << c.args[0];
        EXPECT_EQ(line.picture, c.picture) << c.args[0];
    }
}

TEST(CommandLine, RejectsWhatItCannotMeanAndSaysWhy) {
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    };
    const Case cases[] = {
        {{}, "no file"},
        {{"-m3"}, "no file"},
        {{""}, "no file"},
        {{"-m", "a.wav"}, "bad mode"},
        {{"-m-1", "a.wav"}, "bad mode"},
        {{"-m1x", "a.wav"}, "bad mode"},
        {{"-q", "a.wav"}, "unknown option"},
        {{"a.wav", "b.wav"}, "more than one file"},
        {{"a.wav", "--picture"}, "needs a file name"},
        {{"--picture", "", "a.wav"}, "needs a file name"},
        {{"--picture=p.png", "a.wav"}, "unknown option"},
    };
    for (const Case& c : cases) {
        const CommandLine line = parseCommandLine(c.args);
        EXPECT_FALSE(line.ok);
        EXPECT_NE(line.error.find(c.reason), std::string::npos) << line.error;
    }
}

} // namespace
} // namespace qvdet
