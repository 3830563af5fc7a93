#pragma once
// Shared by the fuzz targets: a broken property aborts with its name, so libFuzzer keeps the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qvfuzz {

inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

inline std::string asText(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The input cut at NUL bytes into count texts; they stand for the program's C strings, which hold no NUL.
inline std::vector<std::string> nulSeparated(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::string> parts(count);
    std::size_t part = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != '\0')
            parts[part] += static_cast<char>(data[i]);
        else if (part + 1 < count)
            ++part;
    }
    return parts;
}

// Occurrences of a needle that cannot overlap itself.
inline std::size_t countOf(const std::string& text, const std::string& needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size()))
        ++count;
    return count;
}

} // namespace qvfuzz
