#pragma once
// Builds RIFF WAVE files chunk by chunk, well-formed or deliberately broken.

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

inline void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The "fmt " payload: the 16 bytes of a PCM record, then any extra bytes.
inline std::vector<uint8_t> fmtPayload(int channels, uint32_t rate, int bits,
                                       std::vector<uint8_t> extra = {}, int tag = 1,
                                       int blockAlign = -1) {
    std::vector<uint8_t> out;
    int align = blockAlign >= 0 ? blockAlign : channels * bits / 8;
    putLe(out, static_cast<uint32_t>(tag), 2);
    putLe(out, static_cast<uint32_t>(channels), 2);
    putLe(out, rate, 4);
    putLe(out, rate * static_cast<uint32_t>(align), 4);
    putLe(out, static_cast<uint32_t>(align), 2);
    putLe(out, static_cast<uint32_t>(bits), 2);
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

struct RiffBuilder {
    std::vector<uint8_t> bytes;

    RiffBuilder() {
        const std::string head("RIFF\0\0\0\0WAVE", 12);
        bytes.assign(head.begin(), head.end());
    }

    // Appends a chunk with its true size (or sizeOverride), and the pad byte after an odd payload.
    RiffBuilder& chunk(const std::string& tag, const std::vector<uint8_t>& payload,
                       int64_t sizeOverride = -1) {
        bytes.insert(bytes.end(), tag.begin(), tag.end());
        putLe(bytes,
              sizeOverride >= 0 ? static_cast<uint32_t>(sizeOverride)
                                : static_cast<uint32_t>(payload.size()),
              4);
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        if (payload.size() & 1)
            bytes.push_back(0xEE);
        return *this;
    }
    // The file with the RIFF size set to what follows it.
    std::vector<uint8_t> file() const {
        std::vector<uint8_t> out = bytes;
        uint32_t size = static_cast<uint32_t>(out.size() - 8);
        for (int i = 0; i < 4; ++i)
            out[4 + i] = static_cast<uint8_t>(size >> (8 * i));
        return out;
    }
};

// Sample bytes 0, 1, 2, ... so that a test sees exactly which bytes were taken.
inline std::vector<uint8_t> countingBytes(size_t count) {
    std::vector<uint8_t> out(count);
    for (size_t i = 0; i < count; ++i)
        out[i] = static_cast<uint8_t>(i * 7 + 3);
    return out;
}

} // namespace kavorind
