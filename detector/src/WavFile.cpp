#include "WavFile.h"

#include <cmath>
#include <cstring>

namespace qvdet {
namespace {

constexpr std::uint16_t kFormatPcm = 0x0001;
constexpr std::uint16_t kFormatFloat = 0x0003;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
constexpr std::uint32_t kUnknownSize = 0xFFFFFFFFu;

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool hasId(const std::uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

WavHeader failure(std::string error) {
    WavHeader header;
    header.error = std::move(error);
    return header;
}

std::string hex16(std::uint16_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        text += digits[(value >> shift) & 0xF];
    }
    return text;
}

// Fills the encoding, sizes and rate from a fmt chunk body; returns an error text or "".
std::string readFormat(const std::uint8_t* body, std::uint32_t size, WavFormat& format) {
    if (size < 16) {
        return "fmt chunk is too short";
    }
    std::uint16_t tag = u16(body);
    const unsigned channels = u16(body + 2);
    const std::uint32_t rate = u32(body + 4);
    const unsigned blockAlign = u16(body + 12);
    const unsigned bits = u16(body + 14);
    unsigned validBits = bits;
    if (tag == kFormatExtensible) {
        if (size < 40 || u16(body + 16) < 22) {
            return "extensible fmt chunk is too short";
        }
        if (u16(body + 18) != 0) {
            validBits = u16(body + 18);
        }
        // The sub-format GUID begins with the plain format tag as a 32-bit number.
        const std::uint32_t subFormat = u32(body + 24);
        if (subFormat > 0xFFFF) {
            return "unsupported sub-format";
        }
        tag = static_cast<std::uint16_t>(subFormat);
    }
    if (channels == 0) {
        return "no channels";
    }
    if (channels > kMaxChannels) {
        return "too many channels: " + std::to_string(channels);
    }
    if (rate < kMinSampleRate || rate > kMaxSampleRate) {
        return "unsupported sample rate: " + std::to_string(rate);
    }
    if (bits == 0 || validBits == 0) {
        return "sample size of 0 bits";
    }
    const unsigned container = (bits + 7) / 8;
    if (tag == kFormatPcm) {
        if (container > 4) {
            return "unsupported integer sample size: " + std::to_string(bits) + " bits";
        }
        format.encoding = container == 1 ? SampleEncoding::UnsignedInt : SampleEncoding::SignedInt;
    } else if (tag == kFormatFloat) {
        if (bits != 32 && bits != 64) {
            return "unsupported float sample size: " + std::to_string(bits) + " bits";
        }
        format.encoding = SampleEncoding::Float;
    } else {
        return "unsupported sample format (format tag " + hex16(tag) + ")";
    }
    if (validBits > container * 8) {
        return "valid bits exceed the sample size";
    }
    if (blockAlign != channels * container) {
        return "block align " + std::to_string(blockAlign) + " does not match " + std::to_string(channels) +
               " channels of " + std::to_string(container) + " bytes";
    }
    format.channels = channels;
    format.sampleRate = rate;
    format.containerBytes = container;
    format.validBits = validBits;
    return "";
}

} // namespace

WavHeader parseWavHeader(ByteSource& source) {
    const std::uint64_t fileSize = source.size();
    std::uint8_t riff[12];
    if (!source.read(0, riff, sizeof riff)) {
        return failure("not a WAV file: shorter than a RIFF header");
    }
    if (hasId(riff, "RIFX")) {
        return failure("big-endian RIFX files are not supported");
    }
    if (!hasId(riff, "RIFF") || !hasId(riff + 8, "WAVE")) {
        return failure("not a RIFF WAVE file");
    }

    WavHeader header;
    bool haveFormat = false;
    bool haveData = false;
    std::uint64_t dataSize = 0;
    // Every step moves at least 8 bytes forward, so a hostile size field cannot make this loop spin.
    std::uint64_t position = 12;
    while (!(haveFormat && haveData) && position + 8 <= fileSize) {
        std::uint8_t chunk[8];
        if (!source.read(position, chunk, sizeof chunk)) {
            break;
        }
        const std::uint32_t size = u32(chunk + 4);
        const std::uint64_t body = position + 8;
        const std::uint64_t available = fileSize - body;
        if (hasId(chunk, "fmt ")) {
            if (haveFormat) {
                return failure("more than one fmt chunk");
            }
            if (size > available) {
                return failure("fmt chunk is truncated");
            }
            std::uint8_t format[40] = {};
            const std::uint32_t used = size < sizeof format ? size : static_cast<std::uint32_t>(sizeof format);
            if (!source.read(body, format, used)) {
                return failure("fmt chunk is truncated");
            }
            const std::string error = readFormat(format, size, header.format);
            if (!error.empty()) {
                return failure(error);
            }
            haveFormat = true;
        } else if (hasId(chunk, "data") && !haveData) {
            haveData = true;
            header.format.dataOffset = body;
            dataSize = size;
            if (size == kUnknownSize || (size == 0 && available > 0)) {
                // Written by a stream that could not go back to fill in the size: the data runs to the end.
                dataSize = available;
            } else if (size > available) {
                header.warnings.push_back("data chunk is cut short: " + std::to_string(available) + " of " +
                                          std::to_string(size) + " bytes present");
                dataSize = available;
            }
            if (!haveFormat) {
                // A data chunk before fmt: skip it and look for fmt behind it.
                position = body + dataSize + (dataSize & 1);
                continue;
            }
        }
        position = body + static_cast<std::uint64_t>(size) + (size & 1u);
    }
    if (!haveFormat) {
        return failure("no fmt chunk");
    }
    if (!haveData) {
        return failure("no data chunk");
    }
    const unsigned blockAlign = header.format.channels * header.format.containerBytes;
    header.format.frameCount = dataSize / blockAlign;
    header.ok = true;
    return header;
}

double WavPcmSource::quantizationStep() const {
    // Float data has no step of its own; a 24-bit step keeps decoded floats far above it.
    const unsigned bits = format_.encoding == SampleEncoding::Float ? 24 : format_.validBits;
    return std::ldexp(1.0, -static_cast<int>(bits - 1));
}

bool WavPcmSource::readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) {
    if (first > format_.frameCount || count > format_.frameCount - first) {
        return false;
    }
    const std::size_t bytesPerSample = format_.containerBytes;
    const std::size_t samples = count * format_.channels;
    raw_.resize(samples * bytesPerSample);
    if (!source_.read(format_.dataOffset + first * format_.channels * bytesPerSample, raw_.data(), raw_.size())) {
        return false;
    }
    out.resize(samples);
    const std::uint8_t* p = raw_.data();
    const double intScale = std::ldexp(1.0, -static_cast<int>(bytesPerSample * 8 - 1));
    for (std::size_t i = 0; i < samples; ++i, p += bytesPerSample) {
        double value = 0.0;
        if (format_.encoding == SampleEncoding::Float) {
            if (bytesPerSample == 4) {
                float f;
                std::memcpy(&f, p, 4);
                value = f;
            } else {
                std::memcpy(&value, p, 8);
            }
            // Hostile floats must not turn the spectra into infinities or NaNs.
            if (!std::isfinite(value)) {
                value = 0.0;
            }
            value = value > 16.0 ? 16.0 : (value < -16.0 ? -16.0 : value);
        } else if (format_.encoding == SampleEncoding::UnsignedInt) {
            value = (static_cast<int>(p[0]) - 128) / 128.0;
        } else {
            std::uint32_t u = 0;
            for (std::size_t b = 0; b < bytesPerSample; ++b) {
                u |= static_cast<std::uint32_t>(p[b]) << (8 * b);
            }
            const std::uint32_t sign = std::uint32_t{1} << (bytesPerSample * 8 - 1);
            const std::int64_t signedValue = (u & sign)
                                                 ? static_cast<std::int64_t>(u) - (static_cast<std::int64_t>(sign) << 1)
                                                 : static_cast<std::int64_t>(u);
            value = static_cast<double>(signedValue) * intScale;
        }
        out[i] = static_cast<float>(value);
    }
    return true;
}

} // namespace qvdet
