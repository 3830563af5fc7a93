#include "DecoderLayout.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qvstandin;

TEST(DecoderLayout, TakesSourceAndTargetFromEachDecodersOwnLayout) {
    const std::tuple<const char*, std::vector<std::string>, LayoutMatch, const char*, const char*> cases[] = {
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
    for (const auto& [program, args, match, source, target] : cases) {
        DecoderCall call;
        EXPECT_EQ(matchDecoderCall(program, args, call), match) << program;
        EXPECT_EQ(call.source + "|" + call.target, source + std::string("|") + target) << program;
    }
}
