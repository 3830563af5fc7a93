#include "ByteSource.h"

#include <cstring>

namespace qvdet {

bool MemoryByteSource::read(std::uint64_t offset, void* out, std::size_t count) {
    if (offset > size_ || count > size_ - offset) {
        return false;
    }
    if (count > 0) {
        std::memcpy(out, data_ + offset, count);
    }
    return true;
}

std::unique_ptr<FileByteSource> FileByteSource::open(const std::filesystem::path& path, std::string& error) {
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (code || !std::filesystem::exists(status)) {
        error = "file not found";
        return nullptr;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "not a regular file";
        return nullptr;
    }
    const std::uint64_t size = std::filesystem::file_size(path, code);
    if (code) {
        error = "cannot read the file size";
        return nullptr;
    }
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        error = "cannot open the file";
        return nullptr;
    }
    return std::unique_ptr<FileByteSource>(new FileByteSource(std::move(stream), size));
}

bool FileByteSource::read(std::uint64_t offset, void* out, std::size_t count) {
    if (offset > size_ || count > size_ - offset) {
        return false;
    }
    stream_.clear();
    stream_.seekg(static_cast<std::streamoff>(offset));
    stream_.read(static_cast<char*>(out), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(stream_.gcount()) == count;
}

} // namespace qvdet
