#include "StandinScript.h"

#include <gtest/gtest.h>

using namespace qvstandin;

namespace {

// What the detector prints on standard output for a script and mode, noise aside.
std::string printedFor(const std::string& content, uint32_t mode) {
    ScriptParse parsed = parseScript(content);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    DetectorRule rule = detectorRuleFor(parsed.script, mode);
    return verdictLine(rule) + (rule.text ? *rule.text + "\r\n" : "");
}

const char* const kCdda = "This track looks like CDDA with probability ";
const char* const kMpeg = "This track looks like MPEG with probability ";
const char* const kUnqualified = "Could not qualify the source of this track\r\n";

struct OutputCase {
    const char* name;
    std::string script;
    uint32_t mode;
    std::string printed;
};

} // namespace

TEST(StandinScript, PrintsTheVerdictOfTheRuleThatAppliesToTheMode) {
    const std::string twoModes =
        "# two verdicts\r\nm0 verdict=cdda:97\r\n\r\nm1 verdict=mpeg:80\r\nm* verdict=none\r\n";
    const OutputCase cases[] = {
        {"own line", twoModes, 0, std::string(kCdda) + "97%\r\n"},
        {"mpeg twin", twoModes, 1, std::string(kMpeg) + "80%\r\n"},
        {"m* covers the rest", twoModes, 2, ""},
        {"no rule and no m*", "m0 verdict=cdda:1\n", 5, kUnqualified},
        {"not a script", "just some text\nmp3 notes\ndecoders\n", 3, std::string(kCdda) + "100%\r\n"},
        {"empty file", "", 0, std::string(kCdda) + "100%\r\n"},
        {"audio whose bytes happen to form a rule", std::string("RIFF\x24\0\0\0WAVE\nm1 \xff\n", 18), 1,
         std::string(kCdda) + "100%\r\n"},
        {"binary padding after the script", std::string("m* verdict=cdda:90\n\0\nm1 \xff\n", 26), 1,
         std::string(kCdda) + "90%\r\n"},
        {"padding lines are ignored", "RIFF junk\nm* verdict=unqualified\nmore junk\n", 7, kUnqualified},
        {"modes compare as numbers", "m011 verdict=cdda:5\n", 11, std::string(kCdda) + "5%\r\n"},
        {"percent is verbatim", "m0 verdict=cdda:-3x\n", 0, std::string(kCdda) + "-3x%\r\n"},
        {"leading blanks and tabs", "  \tm0\tverdict=cdda:9 \n", 0, std::string(kCdda) + "9%\r\n"},
        {"text after the verdict, verbatim to the line end",
         "m0 verdict=unqualified text=  x This track looks like CDDA with probability 5% exit=3 \r\n", 0,
         std::string(kUnqualified) + "  x " + kCdda + "5% exit=3 \r\n"},
        {"text alone, for a bare prefix", "m2 text=This track looks like CDDA with probability \n", 2,
         std::string(kCdda) + "\r\n"},
        {"rule without verdict prints none", "m0 exit=1\n", 0, ""},
        {"decoder rule is no detector rule", "decoder output=none\n", 0, kUnqualified},
    };
    for (const auto& c : cases)
        EXPECT_EQ(printedFor(c.script, c.mode), c.printed) << c.name;
}

TEST(StandinScript, ReadsEveryDetectorAndDecoderSetting) {
    ScriptParse parsed = parseScript("m3 sleep=250 stderr=0x10 noise=10485760 exit=0xC0000005 hang crash\n"
                                     "m* exit=-1\n"
                                     "decoder sleep=40 output=partial exit=7 hang\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    DetectorRule m3 = detectorRuleFor(parsed.script, 3);
    EXPECT_EQ(m3.sleepMs, 250u);
    EXPECT_EQ(m3.stderrBytes, 16u);
    EXPECT_EQ(m3.noiseBytes, 10485760u);
    EXPECT_EQ(m3.exitCode, 0xC0000005u);
    EXPECT_TRUE(m3.hang);
    EXPECT_TRUE(m3.crash);
    EXPECT_EQ(detectorRuleFor(parsed.script, 4).exitCode, 0xFFFFFFFFu);

    const DecoderRule& decoder = parsed.script.decoder;
    EXPECT_EQ(decoder.sleepMs, 40u);
    EXPECT_EQ(decoder.output, DecoderOutput::Partial);
    EXPECT_EQ(decoder.exitCode, 7u);
    EXPECT_TRUE(decoder.hang);

    ScriptParse none = parseScript("decoder output=none\n");
    ASSERT_TRUE(none.ok);
    EXPECT_EQ(none.script.decoder.output, DecoderOutput::None);
    EXPECT_EQ(parseScript("m0 verdict=cdda:1\n").script.decoder.output, DecoderOutput::Full);
}

TEST(StandinScript, RefusesMalformedRulesNamingTheLine) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"m0 verdict=cdda:1\nm1 colour=red\n", "line 2: bad detector setting colour=red"},
        {"m0 sleep=soon\n", "line 1: bad detector setting sleep=soon"},
        {"m0 sleep=4294967295\n", "line 1: bad detector setting sleep=4294967295"},
        {"m0 noise=18446744073709551616\n", "line 1: bad detector setting noise=18446744073709551616"},
        {"m0 exit=4294967296\n", "line 1: bad detector setting exit=4294967296"},
        {"m0 verdict=cdda:\n", "line 1: bad detector setting verdict=cdda:"},
        {"m0 verdict=CDDA:5\n", "line 1: bad detector setting verdict=CDDA:5"},
        {"m0 hang=1\n", "line 1: bad detector setting hang=1"},
        {"m0 exit\n", "line 1: bad detector setting exit"},
        {"m0 output=none\n", "line 1: bad detector setting output=none"},
        {"m0 exit=1 exit=2\n", "line 1: repeated key exit"},
        {"m0 exit=1\n#\nm00 exit=2\n", "line 3: second rule for m00"},
        {"m* exit=1\nm* exit=2\n", "line 2: second rule for m*"},
        {"m0verdict=cdda:5\n", "line 1: bad selector m0verdict=cdda:5"},
        {"m*verdict=none\n", "line 1: bad selector m*verdict=none"},
        {"m99999999999 exit=1\n", "line 1: bad selector m99999999999"},
        {"decoder verdict=cdda:5\n", "line 1: bad decoder setting verdict=cdda:5"},
        {"decoder output=half\n", "line 1: bad decoder setting output=half"},
        {"decoder text=x\n", "line 1: text= belongs to detector rules"},
    };
    for (const auto& c : cases) {
        ScriptParse parsed = parseScript(c.script);
        EXPECT_FALSE(parsed.ok) << c.script;
        EXPECT_EQ(parsed.error, c.error) << c.script;
    }
}

TEST(StandinScript, NoiseAddsUpExactlyAndEndsOnALineEnd) {
    const uint64_t sizes[] = {1, 2, 3, 63, 64, 65, 66, 127, 128, 129, 4096, 4097, 10 * 1024 * 1024 + 1};
    for (uint64_t size : sizes) {
        std::string noise;
        for (uint64_t remaining = size; remaining > 0;) {
            std::string chunk = noiseChunk(remaining, 4096);
            ASSERT_FALSE(chunk.empty());
            ASSERT_LE(chunk.size(), 4096u);
            remaining -= chunk.size();
            noise += chunk;
        }
        ASSERT_EQ(noise.size(), size);
        EXPECT_EQ(noise.back(), '\n') << size;
        for (std::size_t start = 0; start < noise.size(); start = noise.find('\n', start) + 1) {
            ASSERT_NE(noise.compare(start, 5, "This "), 0) << size;
            ASSERT_NE(noise.compare(start, 6, "Could "), 0) << size;
        }
    }
    EXPECT_TRUE(noiseChunk(0, 4096).empty());
}
