#include "CommandLine.h"

#include <gtest/gtest.h>

namespace qvdet {
namespace {

TEST(CommandLine, TakesModeFileAndPictureInAnyOrderAndSaysWhatItRejects) {
    // What a line means as "mode|file|picture", or its error.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"track.wav"}, "0|track.wav|"},
        {{"-m0", "C:\\dir with blanks\\a.wav"}, "0|C:\\dir with blanks\\a.wav|"},
        {{"-m12", "a.wav"}, "12|a.wav|"},
        {{"a.wav", "-m40"}, "40|a.wav|"},
        {{"-m7", "-m3", "a.wav"}, "3|a.wav|"},
        {{"-m99999999999999999999", "a.wav"}, "1000000|a.wav|"},
        {{"-"}, "0|-|"},
        {{"--picture", "-m1.png", "-m2", "a.wav"}, "2|a.wav|-m1.png"},
        {{"a.wav", "--picture", "C:\\out dir\\p.png"}, "0|a.wav|C:\\out dir\\p.png"},
        {{}, "no file given"},
        {{"-m3"}, "no file given"},
        {{""}, "no file given"},
        {{"-m", "a.wav"}, "bad mode option '-m'"},
        {{"-m-1", "a.wav"}, "bad mode option '-m-1'"},
        {{"-m1x", "a.wav"}, "bad mode option '-m1x'"},
        {{"-q", "a.wav"}, "unknown option '-q'"},
        {{"a.wav", "b.wav"}, "more than one file given"},
        {{"a.wav", "--picture"}, "'--picture' needs a file name"},
        {{"--picture", "", "a.wav"}, "'--picture' needs a file name"},
        {{"--picture=p.png", "a.wav"}, "unknown option '--picture=p.png'"},
    };
    for (const auto& [args, expected] : cases) {
        const CommandLine line = parseCommandLine(args);
        EXPECT_EQ(line.ok ? std::to_string(line.mode) + "|" + line.file + "|" + line.picture : line.error, expected);
        EXPECT_EQ(line.ok, expected.find('|') != std::string::npos) << expected;
    }
}

} // namespace
} // namespace qvdet
