#include "common/Utf8.h"

namespace qv {

// Natively there is no system code page: Latin-1, whose bytes are the first 256 code points.
std::string ansiToUtf8(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace qv
