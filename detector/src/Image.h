#pragma once
// An RGB picture in memory, 8 bits per channel, rows top to bottom; drawing outside it is clipped.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvdet {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

inline bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

class Image {
public:
    Image(int width, int height, Rgb background)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height * 3) {
        fill(0, 0, width, height, background);
    }

    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint8_t* row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_ * 3; }

    Rgb at(int x, int y) const {
        const std::uint8_t* p = row(y) + x * 3;
        return {p[0], p[1], p[2]};
    }

    void set(int x, int y, Rgb colour) {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) {
            return;
        }
        std::uint8_t* p = pixels_.data() + (static_cast<std::size_t>(y) * width_ + x) * 3;
        p[0] = colour.r;
        p[1] = colour.g;
        p[2] = colour.b;
    }

    void fill(int x, int y, int width, int height, Rgb colour) {
        for (int row = y; row < y + height; ++row) {
            for (int column = x; column < x + width; ++column) {
                set(column, row, colour);
            }
        }
    }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

} // namespace qvdet
