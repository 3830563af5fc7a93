#include "DecoderLayout.h"

#include <gtest/gtest.h>

using namespace qvstandin;

TEST(DecoderLayout, TakesSourceAndTargetFromEachDecodersOwnLayout) {
    const struct {
        const char* program;
        std::vector<std::string> args;
        LayoutMatch match;
        const char* source;
        const char* target;
    } cases[] = {
        {"flac.exe", {"-d", "-f", "-o", "T.tmp", "a b.flac"}, LayoutMatch::Ok, "a b.flac", "T.tmp"},
        {"FLAC.EXE", {"-d", "-f", "-o", "T.tmp", "x.flac"}, LayoutMatch::Ok, "x.flac", "T.tmp"},
        {"mac.exe", {"x.ape", "T.tmp", "-d"}, LayoutMatch::Ok, "x.ape", "T.tmp"},
        {"wvunpack.exe", {"-q", "-y", "x.wv", "T.tmp"}, LayoutMatch::Ok, "x.wv", "T.tmp"},
        {"shortn32.exe", {"-x", "x.shn", "T.tmp"}, LayoutMatch::Ok, "x.shn", "T.tmp"},
        {"flac.exe", {"-d", "-f", "-o", "x.flac"}, LayoutMatch::BadArguments, "", ""},
        {"flac.exe", {"-d", "-o", "-f", "T.tmp", "x.flac"}, LayoutMatch::BadArguments, "", ""},
        {"mac.exe", {"x.ape", "T.tmp", "-d", "extra"}, LayoutMatch::BadArguments, "", ""},
        {"mac.exe", {"", "T.tmp", "-d"}, LayoutMatch::BadArguments, "", ""},
        {"mac.exe", {"C:\\A\\x.ape", "c:\\a\\X.APE", "-d"}, LayoutMatch::BadArguments, "", ""},
        {"lame.exe", {"x", "y"}, LayoutMatch::UnknownProgram, "", ""},
    };
    for (const auto& c : cases) {
        DecoderCall call;
        EXPECT_EQ(matchDecoderCall(c.program, c.args, call), c.match) << c.program;
        EXPECT_EQ(call.source, c.source) << c.program;
        EXPECT_EQ(call.target, c.target) << c.program;
    }
}
