#include "common/png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace kavorind {

namespace {

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
    putBigEndian(file, static_cast<uint32_t>(data.size()));
    size_t typeStart = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    uLong crc = crc32(0L, file.data() + typeStart, static_cast<uInt>(file.size() - typeStart));
    putBigEndian(file, static_cast<uint32_t>(crc));
}

} // namespace

int writeIndexedPng(const std::string& path, const uint8_t* pixels, int pitch, int width,
                    int height, const PaletteEntries& palette) {
    if (!pixels || width < 1 || height < 1 || pitch < width)
        return 0;
    std::vector<uint8_t> header;
    putBigEndian(header, static_cast<uint32_t>(width));
    putBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 3, 0, 0, 0}); // 8 bits, indexed colour, no interlace

    std::vector<uint8_t> colours;
    for (const PaletteEntry& entry : palette)
        colours.insert(colours.end(), {entry.red, entry.green, entry.blue});

    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(height) * (static_cast<size_t>(width) + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
        raw.insert(raw.end(), row, row + width);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) !=
        Z_OK)
        return 0;
    packed.resize(packedSize);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    putChunk(file, "IHDR", header);
    putChunk(file, "PLTE", colours);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return 0;
    size_t written = std::fwrite(file.data(), 1, file.size(), out);
    int closed = std::fclose(out) == 0;
    return written == file.size() && closed ? 1 : 0;
}

} // namespace kavorind
