// The stand-in's script reading: a misread script would make the end-to-end scenarios pass on a stand-in that
// does less than they ask of it.
#include "StandinScript.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qvstandin;

namespace {

// What the detector prints on standard output for a script and mode, noise aside.
std::string printedFor(const std::string& content, uint32_t mode) {
    ScriptParse parsed = parseScript(content);
    EXPECT_TRUE(parsed.ok) << parsed.error;
    DetectorRule rule = detectorRuleFor(parsed.script, mode);
    return verdictLine(rule) + (rule.text ? *rule.text + "\r\n" : "");
}

const std::string kCdda = "This track looks like CDDA with probability ";
const std::string kUnqualified = "Could not qualify the source of this track\r\n";

} // namespace

TEST(StandinScript, PrintsTheVerdictOfTheRuleThatAppliesToTheMode) {
    const std::string twoModes = "# two\r\nm0 verdict=cdda:97\r\n\r\nm1 verdict=mpeg:80\r\nm* verdict=none\r\n";
    const std::tuple<std::string, uint32_t, std::string> cases[] = {
        {twoModes, 0, kCdda + "97%\r\n"},
        {twoModes, 1, "This track looks like MPEG with probability 80%\r\n"},
        {twoModes, 2, ""},
        {"m0 verdict=cdda:1\n", 5, kUnqualified},
        {"just some text\n", 3, kCdda + "100%\r\n"},
        {std::string("m* verdict=cdda:90\n\0\nm1 \xff\n", 26), 1, kCdda + "90%\r\n"},
        {"m011 verdict=cdda:5\n", 11, kCdda + "5%\r\n"},
        {"m0 verdict=unqualified text=  x " + kCdda + "5% exit=3 \r\n", 0,
         kUnqualified + "  x " + kCdda + "5% exit=3 \r\n"},
        {"decoder output=none\n", 0, kUnqualified},
    };
    for (const auto& [script, mode, printed] : cases)
        EXPECT_EQ(printedFor(script, mode), printed) << script;
}

TEST(StandinScript, ReadsEveryDetectorAndDecoderSetting) {
    ScriptParse parsed = parseScript("m3 sleep=250 busy=900 stderr=0x10 noise=10485760 exit=0xC0000005 hang crash\n"
                                     "m* exit=-1\n"
                                     "decoder sleep=40 output=partial exit=7 hang\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const DetectorRule m3 = detectorRuleFor(parsed.script, 3);
    EXPECT_EQ(std::make_tuple(m3.sleepMs, m3.busyMs, m3.stderrBytes, m3.noiseBytes, m3.exitCode, m3.hang, m3.crash),
              std::make_tuple(250u, 900u, uint64_t{16}, uint64_t{10485760}, 0xC0000005u, true, true));
    EXPECT_EQ(detectorRuleFor(parsed.script, 4).exitCode, 0xFFFFFFFFu);
    const DecoderRule& d = parsed.script.decoder;
    EXPECT_EQ(std::make_tuple(d.sleepMs, d.output, d.exitCode, d.hang),
              std::make_tuple(40u, DecoderOutput::Partial, 7u, true));
}

TEST(StandinScript, RefusesMalformedRulesNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"m0 verdict=cdda:1\nm1 colour=red\n", "line 2: bad detector setting colour=red"},
        {"m0 sleep=4294967295\n", "line 1: bad detector setting sleep=4294967295"},
        {"m0 verdict=CDDA:5\n", "line 1: bad detector setting verdict=CDDA:5"},
        {"m0 exit=1 exit=2\n", "line 1: repeated key exit"},
        {"m0 exit=1\n#\nm00 exit=2\n", "line 3: second rule for m00"},
        {"m0verdict=cdda:5\n", "line 1: bad selector m0verdict=cdda:5"},
        {"decoder output=half\n", "line 1: bad decoder setting output=half"},
    };
    for (const auto& [script, error] : cases) {
        ScriptParse parsed = parseScript(script);
        EXPECT_EQ(parsed.ok ? "accepted" : parsed.error, error) << script;
    }
}

TEST(StandinScript, NoiseAddsUpExactlyAndHoldsNoVerdictLine) {
    for (uint64_t size : {1, 63, 64, 65, 66, 4096, 4097, 10 * 1024 * 1024 + 1}) {
        std::string noise;
        for (uint64_t remaining = size; remaining > 0;) {
            std::string chunk = noiseChunk(remaining, 4096);
            ASSERT_TRUE(!chunk.empty() && chunk.size() <= 4096u);
            remaining -= chunk.size();
            noise += chunk;
        }
        ASSERT_EQ(noise.size(), size);
        EXPECT_EQ(noise.back(), '\n') << size;
        for (std::size_t start = 0; start < noise.size(); start = noise.find('\n', start) + 1)
            ASSERT_TRUE(noise.compare(start, 5, "This ") != 0 && noise.compare(start, 6, "Could ") != 0) << size;
    }
}
