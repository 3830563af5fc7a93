#pragma once
// Shortening a text with "..." to a width, keeping the part of it that tells most.
#include <functional>
#include <string>

namespace qv {

// Width of a text in whatever unit the caller draws in (pixels on screen).
using TextMeasure = std::function<int(const std::string&)>;

// A directory path that fits: the start up to the first backslash (the drive), "...", and as many whole
// trailing folders as fit, at least two ("Z:\...\2001 - Album\CD 2"); when not even two fit, "..." and the
// end of the path. UTF-8 sequences are never cut.
std::string fitPathToWidth(const std::string& path, int width, const TextMeasure& measure);

// A file name that fits: its start, "..." and its end, the end (where the extension is) getting the larger
// share.
std::string fitNameToWidth(const std::string& name, int width, const TextMeasure& measure);

} // namespace qv
