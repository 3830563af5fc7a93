#include "PngWriter.h"

#include <zlib.h>

#include <cstring>
#include <fstream>

namespace qvdet {
namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Length, type, data, and the CRC of type and data, as every PNG chunk is laid out.
void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), out.data() + typeAt, static_cast<uInt>(4 + data.size()));
    put32(out, static_cast<std::uint32_t>(crc));
}

} // namespace

std::vector<std::uint8_t> encodePng(const Image& image) {
    const std::size_t stride = static_cast<std::size_t>(image.width()) * 3;
    // Every row starts with its filter type; 0 leaves the row as it is.
    std::vector<std::uint8_t> raw;
    raw.reserve((stride + 1) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), image.row(y), image.row(y) + stride);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION) !=
        Z_OK) {
        return {};
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(image.width()));
    put32(header, static_cast<std::uint32_t>(image.height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, adaptive filters, no interlace

    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> file(kSignature, kSignature + sizeof kSignature);
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});
    return file;
}

bool writePng(const std::filesystem::path& path, const Image& image, std::string& error) {
    const std::vector<std::uint8_t> bytes = encodePng(image);
    if (bytes.empty()) {
        error = "the picture could not be compressed";
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        error = "cannot create the file";
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        error = "cannot write the file";
        return false;
    }
    return true;
}

} // namespace qvdet
