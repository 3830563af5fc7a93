#include "DecoderLayout.h"

#include <cctype>

namespace qvstandin {

namespace {

struct Layout {
    const char* program;
    std::vector<std::string> pattern; // "{F}" and "{T}" take the source and the target; other words must match
};

const std::vector<Layout>& layouts() {
    static const std::vector<Layout> table = {
        {"flac.exe", {"-d", "-f", "-o", "{T}", "{F}"}},
        {"mac.exe", {"{F}", "{T}", "-d"}},
        {"wvunpack.exe", {"-q", "-y", "{F}", "{T}"}},
        {"shortn32.exe", {"-x", "{F}", "{T}"}},
    };
    return table;
}

bool equalsAsciiIgnoreCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

LayoutMatch matchDecoderCall(const std::string& programName, const std::vector<std::string>& args, DecoderCall& call) {
    for (const Layout& layout : layouts()) {
        if (!equalsAsciiIgnoreCase(programName, layout.program))
            continue;
        if (args.size() != layout.pattern.size())
            return LayoutMatch::BadArguments;
        DecoderCall found;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& word = layout.pattern[i];
            if (word == "{F}")
                found.source = args[i];
            else if (word == "{T}")
                found.target = args[i];
            else if (args[i] != word)
                return LayoutMatch::BadArguments;
        }
        if (found.source.empty() || found.target.empty() || equalsAsciiIgnoreCase(found.source, found.target))
            return LayoutMatch::BadArguments;
        call = found;
        return LayoutMatch::Ok;
    }
    return LayoutMatch::UnknownProgram;
}

std::string decoderLayouts() {
    std::string text;
    for (const Layout& layout : layouts()) {
        if (!text.empty())
            text += "; ";
        text += layout.program;
        for (const std::string& word : layout.pattern)
            text += " " + word;
    }
    return text;
}

} // namespace qvstandin
