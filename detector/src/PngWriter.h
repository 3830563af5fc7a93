#pragma once
// PNG files of our pictures: 8-bit RGB, compressed by the system's zlib, chunks written here.
#include "Image.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qvdet {

// The whole file's bytes; empty when compression fails.
std::vector<std::uint8_t> encodePng(const Image& image);

// Writes the file whole or removes what it began; false with the reason in error.
[[nodiscard]] bool writePng(const std::filesystem::path& path, const Image& image, std::string& error);

} // namespace qvdet
