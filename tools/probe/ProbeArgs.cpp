#include "ProbeArgs.h"

#include "common/Version.h"

#include <cmath>
#include <cstdlib>

namespace qvprobe {

namespace {

struct NamedNumber {
    const char* name;
    uint64_t value;
};

const NamedNumber kMessages[] = {
    {"WM_NULL", 0x0000}, {"WM_CLOSE", 0x0010}, {"WM_COMMAND", 0x0111}, {"WM_SYSCOMMAND", 0x0112}, {"WM_APP", 0x8000},
};

const NamedNumber kButtons[] = {
    {"ok", 1}, {"cancel", 2}, {"abort", 3}, {"retry", 4}, {"ignore", 5}, {"yes", 6}, {"no", 7},
};

// A timeout longer than a day is a typo, not a wish.
const double kLongestTimeout = 86400;

bool parseUnsigned(const std::string& text, uint64_t& value) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::size_t start = hex ? 2 : 0;
    unsigned base = hex ? 16 : 10;
    if (text.size() == start)
        return false;
    value = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (value > (UINT64_MAX - digit) / base)
            return false;
        value = value * base + digit;
    }
    return true;
}

bool parseTimeout(const std::string& text, double& seconds) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(seconds) && seconds <= kLongestTimeout;
}

} // namespace

bool parseInvocation(const std::vector<std::string>& words, const CommandSyntax& syntax, Invocation& invocation,
                     std::string& error) {
    Invocation parsed;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const unsigned option = word == "--timeout"   ? kTimeoutOption
                                : word == "--caption" ? kCaptionOption
                                : word == "--window"  ? kWindowOption
                                                      : 0u;
        if (option == 0) {
            if (word.compare(0, 2, "--") == 0) {
                error = "unknown option " + word;
                return false;
            }
            parsed.operands.push_back(word);
            continue;
        }
        if (!(syntax.options & option)) {
            error = std::string(syntax.name) + " takes no " + word;
            return false;
        }
        if (i + 1 == words.size()) {
            error = word + " needs a value";
            return false;
        }
        const std::string& value = words[++i];
        if (option == kCaptionOption) {
            parsed.caption = value;
        } else if (option == kWindowOption) {
            parsed.window = value;
        } else if (!parseTimeout(value, parsed.timeoutSeconds)) {
            error = "bad timeout " + value;
            return false;
        }
    }
    if (parsed.operands.size() != syntax.operands) {
        error = std::string("usage: ") + syntax.usage;
        return false;
    }
    invocation = parsed;
    return true;
}

bool parseNumber(const std::string& text, uint64_t& value) {
    for (const NamedNumber& message : kMessages) {
        std::string name = message.name;
        if (text.compare(0, name.size(), name) != 0)
            continue;
        if (text.size() == name.size()) {
            value = message.value;
            return true;
        }
        uint64_t offset;
        if (text[name.size()] != '+' || !parseUnsigned(text.substr(name.size() + 1), offset) || offset > 0xFFFFFFFF)
            continue;
        value = message.value + offset;
        return true;
    }
    if (!text.empty() && text[0] == '-') {
        uint64_t magnitude;
        if (!parseUnsigned(text.substr(1), magnitude) || magnitude > (uint64_t{1} << 63))
            return false;
        value = 0 - magnitude;
        return true;
    }
    return parseUnsigned(text, value);
}

bool parseControlId(const std::string& text, int& id) {
    uint64_t value;
    if (text.empty() || text[0] == '-' || !parseNumber(text, value) || value > 0xFFFF)
        return false;
    id = static_cast<int>(value);
    return true;
}

bool parseButton(const std::string& text, int& id) {
    for (const NamedNumber& button : kButtons) {
        if (text == button.name) {
            id = static_cast<int>(button.value);
            return true;
        }
    }
    return parseControlId(text, id);
}

std::string escapeLineBreaks(const std::string& text) {
    std::string escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            escaped += "\\n";
        } else {
            escaped += text[i];
        }
    }
    return escaped;
}

bool isWantedBoxCaption(const std::string& caption, const std::optional<std::string>& requested) {
    if (requested)
        return caption == *requested;
    return caption == qv::kProductName || caption == "Confirm exit";
}

} // namespace qvprobe
