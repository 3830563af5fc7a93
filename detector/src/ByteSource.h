#pragma once
// Random-access bytes of an input: a file for the program, memory for tests and the fuzzer.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace qvdet {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Reads exactly count bytes at offset; false when they are not all there.
    [[nodiscard]] virtual bool read(std::uint64_t offset, void* out, std::size_t count) = 0;
};

class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* out, std::size_t count) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

class FileByteSource : public ByteSource {
public:
    // Null with a reason in error when the file cannot be opened or is not a regular file.
    static std::unique_ptr<FileByteSource> open(const std::filesystem::path& path, std::string& error);

    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, void* out, std::size_t count) override;

private:
    FileByteSource(std::ifstream stream, std::uint64_t size) : stream_(std::move(stream)), size_(size) {}
    std::ifstream stream_;
    std::uint64_t size_;
};

} // namespace qvdet
