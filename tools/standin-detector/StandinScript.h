#pragma once
// The script language of the stand-in detector and decoders: each "audio" file in a test is a small text that says
// how the stand-ins behave on it, one rule per selector ("m0", "m*", "decoder").
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace qvstandin {

enum class VerdictKind { None, Cdda, Mpeg, Unqualified };

// What the detector does in one mode, in the order it does it.
struct DetectorRule {
    uint32_t sleepMs = 0;
    uint32_t busyMs = 0; // wall time of slow work, a quarter of it on the processor
    uint64_t stderrBytes = 0;
    uint64_t noiseBytes = 0;
    VerdictKind verdict = VerdictKind::None;
    std::string percent; // verbatim text printed before '%' for Cdda and Mpeg
    std::optional<std::string> text;
    uint32_t exitCode = 0;
    bool hang = false;
    bool crash = false;
};

enum class DecoderOutput { Full, Partial, None };

struct DecoderRule {
    uint32_t sleepMs = 0;
    DecoderOutput output = DecoderOutput::Full;
    uint32_t exitCode = 0;
    bool hang = false;
};

struct Script {
    // False for a file with no rule line at all: an ordinary audio or text file.
    bool isScript = false;
    std::map<uint32_t, DetectorRule> modes;
    std::optional<DetectorRule> anyMode;
    DecoderRule decoder;
};

struct ScriptParse {
    bool ok = false;
    std::string error; // "line N: ..." when not ok
    Script script;
};

// Parses a script: the text of a file up to its first NUL byte. Lines whose first word is no selector are ignored,
// so scripts may carry padding; a rule line with an unknown key or a bad value fails the whole parse, so a typo
// never passes silently.
ScriptParse parseScript(const std::string& file);

// The rule for a detector mode: its own line, else the m* line; a script with neither cannot qualify the track,
// and a file that is no script at all is judged CDDA 100%.
DetectorRule detectorRuleFor(const Script& script, uint32_t mode);

// The verdict line with its CR LF, or nothing for VerdictKind::None.
std::string verdictLine(const DetectorRule& rule);

// Filler text that never begins a line with a verdict prefix. Call repeatedly with the bytes still owed; each piece
// is at most limit bytes (at least one line) and the pieces add up to exactly the bytes asked for, ending on a
// line end, so a verdict written after the noise starts a line of its own.
std::string noiseChunk(uint64_t remaining, std::size_t limit);

} // namespace qvstandin
