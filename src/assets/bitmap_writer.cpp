#include "assets/bitmap_writer.h"

#include "assets/asset_limits.h"
#include "platform/byte_io.h"
#include "platform/content_file.h"

namespace kavorind {

namespace {

int fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return 0;
}

size_t paddedStride(int width) {
    return (static_cast<size_t>(width) + 3) & ~size_t{3};
}

// Appends the picture's rows bottom-up or top-down, each padded with zeros to the stride.
void appendRows(const IndexedImage& image, bool topDown, ByteWriter& out) {
    size_t padding = paddedStride(image.width) - static_cast<size_t>(image.width);
    for (int k = 0; k < image.height; ++k) {
        int row = topDown ? k : image.height - 1 - k;
        out.bytes(image.pixels.data() + static_cast<size_t>(row) * image.width, image.width);
        out.fill(0, padding);
    }
}

} // namespace

IndexedImage makeIndexedImage(int width, int height, uint8_t fill) {
    IndexedImage image;
    image.width = width;
    image.height = height;
    if (width > 0 && height > 0)
        image.pixels.assign(static_cast<size_t>(width) * height, fill);
    return image;
}

int checkIndexedImage(const IndexedImage& image, std::string* error) {
    if (image.width < 1 || image.height < 1 || image.width > maxPictureSide ||
        image.height > maxPictureSide)
        return fail(error, "picture size " + std::to_string(image.width) + " x " +
                               std::to_string(image.height) + " is outside 1 to 16384");
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return fail(error, "picture has " + std::to_string(image.pixels.size()) +
                               " pixels, not width x height");
    return 1;
}

void appendColourTable(const PaletteEntries& colours, std::vector<uint8_t>* out) {
    ByteWriter write(out);
    for (const PaletteEntry& entry : colours) {
        write.u8(entry.blue);
        write.u8(entry.green);
        write.u8(entry.red);
        write.u8(0);
    }
}

PaletteEntries readColourTable(const uint8_t* table, int count) {
    PaletteEntries colours{};
    for (int i = 0; i < count && i < 256; ++i, table += 4)
        colours[i] = {table[2], table[1], table[0], 0};
    return colours;
}

std::vector<uint8_t> encodeBitmap(const IndexedImage& image, const BitmapLayout& layout,
                                  std::string* error) {
    std::vector<uint8_t> bytes;
    if (!checkIndexedImage(image, error))
        return bytes;
    if (layout.colourCount < 1 || layout.colourCount > 256) {
        fail(error, "colour count must be 1 to 256");
        return bytes;
    }
    if (layout.colourCountZero && layout.colourCount != 256) {
        fail(error, "a colour count field of 0 means 256 entries");
        return bytes;
    }
    if (layout.infoHeaderSize < 40 || layout.infoHeaderSize > 4096) {
        fail(error, "info header size must be 40 to 4096");
        return bytes;
    }
    uint32_t tableBytes = static_cast<uint32_t>(layout.colourCount) * 4;
    uint32_t pixelOffset = 14 + static_cast<uint32_t>(layout.infoHeaderSize) + tableBytes;
    uint32_t imageBytes = static_cast<uint32_t>(paddedStride(image.width) * image.height);

    ByteWriter write(&bytes);
    write.bytes("BM", 2);
    write.u32(pixelOffset + imageBytes); // file size
    write.u32(0);                        // reserved words
    write.u32(pixelOffset);
    write.u32(static_cast<uint32_t>(layout.infoHeaderSize));
    write.i32(image.width);
    write.i32(layout.topDown ? -image.height : image.height);
    write.u16(1); // planes
    write.u16(8); // bits per pixel
    write.u32(0); // uncompressed
    write.u32(imageBytes);
    write.u32(2835); // 72 dots per inch, both ways
    write.u32(2835);
    write.u32(layout.colourCountZero ? 0 : static_cast<uint32_t>(layout.colourCount));
    write.u32(0); // important colours: all
    write.fill(0, static_cast<size_t>(layout.infoHeaderSize) - 40);
    std::vector<uint8_t> table;
    appendColourTable(image.colours, &table);
    write.bytes(table.data(), tableBytes);
    appendRows(image, layout.topDown, write);
    return bytes;
}

int writeBitmap(const std::string& path, const IndexedImage& image, const BitmapLayout& layout,
                std::string* error) {
    std::vector<uint8_t> bytes = encodeBitmap(image, layout, error);
    if (bytes.empty())
        return 0;
    std::string why;
    if (!writeFileSafely(path, bytes, FileDurable, &why))
        return fail(error, "cannot write " + path + ": " + why);
    return 1;
}

int appendRawImageBlock(const IndexedImage& image, std::vector<uint8_t>* out, std::string* error) {
    if (!checkIndexedImage(image, error))
        return 0;
    ByteWriter write(out);
    write.i32(image.width);
    write.i32(image.height);
    appendColourTable(image.colours, out);
    appendRows(image, false, write);
    return 1;
}

} // namespace kavorind
