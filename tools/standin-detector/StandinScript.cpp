#include "StandinScript.h"

#include <cctype>
#include <set>
#include <vector>

namespace qvstandin {

namespace {

const char* const kCddaPrefix = "This track looks like CDDA with probability ";
const char* const kMpegPrefix = "This track looks like MPEG with probability ";
const char* const kUnqualifiedLine = "Could not qualify the source of this track";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal or 0x-hex digits only; false on anything else or on overflow.
bool parseUnsigned(const std::string& text, uint64_t& value) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::size_t start = hex ? 2 : 0;
    uint64_t base = hex ? 16 : 10;
    if (text.size() == start)
        return false;
    value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        int c = static_cast<unsigned char>(text[i]);
        uint64_t digit;
        if (isDigit(static_cast<char>(c)))
            digit = static_cast<uint64_t>(c - '0');
        else if (hex && std::isxdigit(c))
            digit = static_cast<uint64_t>(std::tolower(c) - 'a' + 10);
        else
            return false;
        if (value > (UINT64_MAX - digit) / base)
            return false;
        value = value * base + digit;
    }
    return true;
}

bool parseBounded(const std::string& text, uint64_t max, uint64_t& value) {
    return parseUnsigned(text, value) && value <= max;
}

// Exit codes as a shell script writes them: 3, -1 or 0xC0000005.
bool parseExitCode(const std::string& text, uint32_t& code) {
    bool negative = !text.empty() && text[0] == '-';
    uint64_t magnitude;
    if (!parseBounded(negative ? text.substr(1) : text, negative ? 0x80000000u : 0xFFFFFFFFu, magnitude))
        return false;
    code = static_cast<uint32_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

bool parseVerdict(const std::string& text, DetectorRule& rule) {
    const std::string cdda = "cdda:";
    const std::string mpeg = "mpeg:";
    if (text == "none") {
        rule.verdict = VerdictKind::None;
    } else if (text == "unqualified") {
        rule.verdict = VerdictKind::Unqualified;
    } else if (text.size() > cdda.size() && text.compare(0, cdda.size(), cdda) == 0) {
        rule.verdict = VerdictKind::Cdda;
        rule.percent = text.substr(cdda.size());
    } else if (text.size() > mpeg.size() && text.compare(0, mpeg.size(), mpeg) == 0) {
        rule.verdict = VerdictKind::Mpeg;
        rule.percent = text.substr(mpeg.size());
    } else {
        return false;
    }
    return true;
}

// One key of a rule line: a bare word (hang) or key=value. text= has already been taken off the line.
struct Setting {
    std::string key;
    std::optional<std::string> value;
};

bool applyDetectorSetting(const Setting& s, DetectorRule& rule) {
    uint64_t number = 0;
    if (s.key == "hang" || s.key == "crash") {
        if (s.value)
            return false;
        (s.key == "hang" ? rule.hang : rule.crash) = true;
        return true;
    }
    if (!s.value)
        return false;
    const std::string& v = *s.value;
    if (s.key == "sleep") {
        // 0xFFFFFFFF would be INFINITE; hang says that explicitly.
        if (!parseBounded(v, 0xFFFFFFFEu, number))
            return false;
        rule.sleepMs = static_cast<uint32_t>(number);
        return true;
    }
    if (s.key == "busy") {
        if (!parseBounded(v, 0xFFFFFFFEu, number))
            return false;
        rule.busyMs = static_cast<uint32_t>(number);
        return true;
    }
    if (s.key == "stderr")
        return parseUnsigned(v, rule.stderrBytes);
    if (s.key == "noise")
        return parseUnsigned(v, rule.noiseBytes);
    if (s.key == "verdict")
        return parseVerdict(v, rule);
    if (s.key == "exit")
        return parseExitCode(v, rule.exitCode);
    return false;
}

bool applyDecoderSetting(const Setting& s, DecoderRule& rule) {
    uint64_t number = 0;
    if (s.key == "hang") {
        rule.hang = true;
        return !s.value;
    }
    if (!s.value)
        return false;
    const std::string& v = *s.value;
    if (s.key == "sleep") {
        if (!parseBounded(v, 0xFFFFFFFEu, number))
            return false;
        rule.sleepMs = static_cast<uint32_t>(number);
        return true;
    }
    if (s.key == "exit")
        return parseExitCode(v, rule.exitCode);
    if (s.key == "output") {
        if (v == "none")
            rule.output = DecoderOutput::None;
        else if (v == "partial")
            rule.output = DecoderOutput::Partial;
        else if (v == "full")
            rule.output = DecoderOutput::Full;
        else
            return false;
        return true;
    }
    return false;
}

enum class SelectorKind { NotASelector, Malformed, Mode, AnyMode, Decoder };

SelectorKind classifySelector(const std::string& word, uint32_t& mode) {
    if (word == "decoder")
        return SelectorKind::Decoder;
    if (word == "m*")
        return SelectorKind::AnyMode;
    if (word.size() >= 2 && word[0] == 'm' && word[1] == '*')
        return SelectorKind::Malformed;
    if (word.size() < 2 || word[0] != 'm' || !isDigit(word[1]))
        return SelectorKind::NotASelector;
    for (std::size_t i = 1; i < word.size(); ++i) {
        if (!isDigit(word[i]))
            return SelectorKind::Malformed;
    }
    uint64_t number;
    if (!parseBounded(word.substr(1), 0x7FFFFFFF, number))
        return SelectorKind::Malformed;
    mode = static_cast<uint32_t>(number);
    return SelectorKind::Mode;
}

// Splits a rule line (selector already removed) into settings; text= takes the rest of the line verbatim.
std::vector<Setting> splitSettings(const std::string& line, std::size_t pos, std::optional<std::string>& text) {
    std::vector<Setting> settings;
    const std::string textKey = "text=";
    while (true) {
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        if (pos >= line.size())
            break;
        if (line.compare(pos, textKey.size(), textKey) == 0) {
            text = line.substr(pos + textKey.size());
            break;
        }
        std::size_t end = pos;
        while (end < line.size() && !isBlank(line[end]))
            ++end;
        std::string word = line.substr(pos, end - pos);
        std::size_t eq = word.find('=');
        if (eq == std::string::npos)
            settings.push_back({word, std::nullopt});
        else
            settings.push_back({word.substr(0, eq), word.substr(eq + 1)});
        pos = end;
    }
    return settings;
}

std::string describe(const Setting& s) {
    return s.value ? s.key + "=" + *s.value : s.key;
}

// Parses one rule line into the script; returns what is wrong with it, or nothing.
std::string parseRuleLine(const std::string& line, std::size_t selectorEnd, SelectorKind kind, uint32_t mode,
                          Script& script) {
    std::optional<std::string> text;
    std::vector<Setting> settings = splitSettings(line, selectorEnd, text);
    std::set<std::string> seen;
    for (const Setting& s : settings) {
        if (!seen.insert(s.key).second)
            return "repeated key " + s.key;
    }

    if (kind == SelectorKind::Decoder) {
        if (text)
            return "text= belongs to detector rules";
        for (const Setting& s : settings) {
            if (!applyDecoderSetting(s, script.decoder))
                return "bad decoder setting " + describe(s);
        }
        return std::string();
    }

    DetectorRule rule;
    rule.text = text;
    for (const Setting& s : settings) {
        if (!applyDetectorSetting(s, rule))
            return "bad detector setting " + describe(s);
    }
    if (kind == SelectorKind::AnyMode)
        script.anyMode = rule;
    else
        script.modes[mode] = rule;
    return std::string();
}

} // namespace

ScriptParse parseScript(const std::string& file) {
    // Real audio has a NUL within its first bytes, and binary padding after a script must not read as rules.
    const std::string content = file.substr(0, file.find('\0'));
    ScriptParse result;
    std::set<std::string> selectorsSeen;
    std::size_t lineStart = 0;
    for (int lineNumber = 1; lineStart < content.size(); ++lineNumber) {
        std::size_t lineEnd = content.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = content.size();
        std::string line = content.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();

        std::size_t pos = 0;
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        if (pos == line.size() || line[pos] == '#')
            continue;
        std::size_t wordEnd = pos;
        while (wordEnd < line.size() && !isBlank(line[wordEnd]))
            ++wordEnd;
        std::string selector = line.substr(pos, wordEnd - pos);

        uint32_t mode = 0;
        SelectorKind kind = classifySelector(selector, mode);
        std::string error;
        if (kind == SelectorKind::NotASelector)
            continue;
        if (kind == SelectorKind::Malformed)
            error = "bad selector " + selector;
        else if (!selectorsSeen.insert(kind == SelectorKind::Mode ? "m" + std::to_string(mode) : selector).second)
            error = "second rule for " + selector;
        else
            error = parseRuleLine(line, wordEnd, kind, mode, result.script);
        if (!error.empty()) {
            result.error = "line " + std::to_string(lineNumber) + ": " + error;
            return result;
        }
        result.script.isScript = true;
    }
    result.ok = true;
    return result;
}

DetectorRule detectorRuleFor(const Script& script, uint32_t mode) {
    DetectorRule rule;
    if (!script.isScript) {
        rule.verdict = VerdictKind::Cdda;
        rule.percent = "100";
        return rule;
    }
    auto own = script.modes.find(mode);
    if (own != script.modes.end())
        return own->second;
    if (script.anyMode)
        return *script.anyMode;
    rule.verdict = VerdictKind::Unqualified;
    return rule;
}

std::string verdictLine(const DetectorRule& rule) {
    switch (rule.verdict) {
    case VerdictKind::Cdda:
        return kCddaPrefix + rule.percent + "%\r\n";
    case VerdictKind::Mpeg:
        return kMpegPrefix + rule.percent + "%\r\n";
    case VerdictKind::Unqualified:
        return std::string(kUnqualifiedLine) + "\r\n";
    case VerdictKind::None:
        break;
    }
    return std::string();
}

std::string noiseChunk(uint64_t remaining, std::size_t limit) {
    static const std::string line = "noise noise noise noise noise noise noise noise noise noise no\r\n";
    std::size_t lines = limit / line.size();
    if (lines == 0)
        lines = 1;
    if (remaining > lines * line.size()) {
        std::string chunk;
        chunk.reserve(lines * line.size());
        for (std::size_t i = 0; i < lines; ++i)
            chunk += line;
        return chunk;
    }
    std::size_t bytes = static_cast<std::size_t>(remaining);
    std::string chunk;
    chunk.reserve(bytes);
    for (std::size_t i = 0; i < bytes / line.size(); ++i)
        chunk += line;
    // The last line is shortened rather than cut, so the noise always ends on a line end.
    std::size_t tail = bytes % line.size();
    if (tail == 1)
        chunk += "\n";
    else if (tail >= 2)
        chunk += line.substr(0, tail - 2) + "\r\n";
    return chunk;
}

} // namespace qvstandin
