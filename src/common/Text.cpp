#include "common/Text.h"

#include <cstdarg>
#include <cstdio>
#include <limits>
#include <vector>

namespace qv {

namespace {

std::string stripLeadingBlanks(const std::string& text, std::size_t from) {
    std::size_t pos = from;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    return text.substr(pos);
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

SplitResult splitArgument(const std::string& text) {
    SplitResult result{text, std::string()};
    if (text.empty())
        return result;
    if (text[0] == '"') {
        std::size_t close = text.find('"', 1);
        if (close == std::string::npos || close == 1)
            return result;
        result.first = text.substr(1, close - 1);
        result.rest = stripLeadingBlanks(text, close + 1);
        return result;
    }
    std::size_t blank = text.find(' ');
    if (blank == 0 || blank == std::string::npos)
        return result;
    result.first = text.substr(0, blank);
    result.rest = stripLeadingBlanks(text, blank + 1);
    return result;
}

std::string fileNamePart(const std::string& path) {
    std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directoryPart(const std::string& path, std::size_t capacity) {
    std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos || capacity == 0)
        return std::string();
    return path.substr(0, slash < capacity - 1 ? slash : capacity - 1);
}

std::string extensionOf(const std::string& path) {
    std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

bool fileTypeOf(const std::string& path, std::string& type) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('\\');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    type = path.substr(dot + 1);
    return true;
}

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

int32_t parseDecimal(const char* text) {
    if (text == nullptr)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    int64_t value = 0;
    const int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p - '0');
        if (value > limit)
            value = limit;
        ++p;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

int32_t roundedMean(int64_t sum, int64_t n) {
    return static_cast<int32_t>((sum + n / 2) / n);
}

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string fileCountText(int32_t count) {
    return formatText("%d file%s", count, count == 1 ? "" : "s");
}

} // namespace qv
