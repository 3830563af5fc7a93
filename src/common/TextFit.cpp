#include "common/TextFit.h"

#include <vector>

namespace qv {
namespace {

const char kEllipsis[] = "...";

// Byte offsets at which a character starts, and the end: the only places where a UTF-8 text may be cut.
std::vector<std::size_t> characterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// The longest "..." + end of text that fits; "..." alone when nothing does.
std::string fitEnd(const std::string& text, int width, const TextMeasure& measure) {
    for (std::size_t start : characterStarts(text)) {
        std::string candidate = kEllipsis + text.substr(start);
        if (measure(candidate) <= width)
            return candidate;
    }
    return kEllipsis;
}

} // namespace

std::string fitPathToWidth(const std::string& path, int width, const TextMeasure& measure) {
    if (measure(path) <= width)
        return path;
    const std::size_t first = path.find('\\');
    const std::size_t last = path.rfind('\\');
    if (first != std::string::npos) {
        const std::string head = path.substr(0, first + 1) + kEllipsis;
        // Each later backslash but the last starts a tail of at least two whole folders, longest first: the
        // last folder alone ("CD 2") says less than the end of the path does.
        for (std::size_t slash = path.find('\\', first + 1); slash < last; slash = path.find('\\', slash + 1)) {
            std::string candidate = head + path.substr(slash);
            if (measure(candidate) <= width)
                return candidate;
        }
    }
    return fitEnd(path, width, measure);
}

std::string fitNameToWidth(const std::string& name, int width, const TextMeasure& measure) {
    if (measure(name) <= width)
        return name;
    const std::vector<std::size_t> starts = characterStarts(name);
    const std::size_t characters = starts.size() - 1;
    // Keep as many characters as fit, two fifths from the start and the rest from the end.
    for (std::size_t kept = characters - 1; kept > 0; --kept) {
        const std::size_t fromStart = kept * 2 / 5;
        const std::size_t fromEnd = kept - fromStart;
        std::string candidate =
            name.substr(0, starts[fromStart]) + kEllipsis + name.substr(starts[characters - fromEnd]);
        if (measure(candidate) <= width)
            return candidate;
    }
    return kEllipsis;
}

} // namespace qv
