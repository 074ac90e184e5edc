#include "assets/bitmap_image.h"

#include "assets/asset_limits.h"
#include "assets/row_copy.h"
#include "platform/content_file.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace kavorind {

namespace {

// Offsets within the info header (the buffer starts there, just after the 14-byte file header).
constexpr size_t infoSizeField = 0;
constexpr size_t widthField = 4;
constexpr size_t heightField = 8;
constexpr size_t planesField = 12;
constexpr size_t bitCountField = 14;
constexpr size_t compressionField = 16;
constexpr size_t imageSizeField = 20;
constexpr size_t colourCountField = 32;
constexpr size_t infoHeaderBytes = 40;
constexpr size_t fileHeaderBytes = 14;
constexpr size_t fullColourTableBytes = 256 * 4;

size_t strideFor(int64_t width) {
    return static_cast<size_t>((width + 3) & ~int64_t{3});
}

} // namespace

int BitmapImage::load(const std::string& path, LoadProblem* problem) {
    release();
    FileBytes file;
    if (!readWholeFile(path, maxContentFileBytes, &file))
        return refuseLoad(problem, 0, "the file is missing, unreadable or too large");
    return adopt(std::move(file), problem);
}

int BitmapImage::loadFromMemory(std::span<const uint8_t> file, LoadProblem* problem) {
    release();
    FileBytes copy = copyFileBytes(file);
    if (!copy.data)
        return refuseLoad(problem, 0, "out of memory for a copy of the file");
    return adopt(std::move(copy), problem);
}

// Checks a whole bitmap file and, when it is one the game can draw, keeps its bytes as the
// picture's buffer: the info header starts just after the 14-byte file header.
int BitmapImage::adopt(FileBytes file, LoadProblem* problem) {
    std::span<const uint8_t> bytes = file.view();
    if (bytes.size() < fileHeaderBytes + infoHeaderBytes)
        return refuseLoad(problem, bytes.size(), "the file ends inside the bitmap headers");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return refuseLoad(problem, 0, "not a bitmap: the file does not start with \"BM\"");
    std::span<const uint8_t> body = bytes.subspan(fileHeaderBytes);
    const uint8_t* info = body.data();
    uint32_t infoSize = peekU32(info + infoSizeField);
    int32_t width = static_cast<int32_t>(peekU32(info + widthField));
    int32_t height = static_cast<int32_t>(peekU32(info + heightField));
    uint32_t colourField = peekU32(info + colourCountField);
    if (infoSize < infoHeaderBytes || infoSize > body.size())
        return refuseLoad(problem, fileHeaderBytes + infoSizeField,
                          "info header size below 40 or past the end of the file");
    if (peekU16(info + bitCountField) != 8)
        return refuseLoad(problem, fileHeaderBytes + bitCountField,
                          "not 8 bits per pixel: only 256-colour bitmaps can be drawn");
    if (peekU32(info + compressionField) != 0)
        return refuseLoad(problem, fileHeaderBytes + compressionField,
                          "compressed (RLE or other): only uncompressed bitmaps load");
    // A negative height means top-down rows; INT_MIN has no positive counterpart.
    int64_t rows = std::llabs(int64_t{height});
    if (width < 1 || width > maxPictureSide)
        return refuseLoad(problem, fileHeaderBytes + widthField, "width outside 1 to 16384");
    if (rows < 1 || rows > maxPictureSide)
        return refuseLoad(problem, fileHeaderBytes + heightField, "height outside 1 to 16384");
    uint64_t colours = colourField == 0 ? 256 : colourField;
    if (colours > 256)
        return refuseLoad(problem, fileHeaderBytes + colourCountField,
                          "more than 256 colours in the colour table");
    uint64_t pixelStart = uint64_t{infoSize} + colours * 4;
    uint64_t stride = strideFor(width);
    if (pixelStart > body.size())
        return refuseLoad(problem, bytes.size(), "the file ends inside the colour table");
    if (stride * static_cast<uint64_t>(rows) > body.size() - pixelStart)
        return refuseLoad(problem, bytes.size(), "the file ends before the last pixel row");

    buffer_ = std::move(file);
    infoOffset_ = fileHeaderBytes;
    uint8_t* header = buffer_.data.get() + infoOffset_;
    pokeU32(header + imageSizeField, static_cast<uint32_t>(stride * rows));
    if (colourField == 0)
        pokeU32(header + colourCountField, static_cast<uint32_t>(colours));
    tableOffset_ = infoOffset_ + infoSize;
    bitsOffset_ = infoOffset_ + static_cast<size_t>(pixelStart);
    width_ = width;
    rows_ = static_cast<int>(rows);
    stride_ = static_cast<int>(stride);
    colourCount_ = static_cast<int>(colours);
    bottomUp_ = height > 0;
    return 1;
}

int BitmapImage::readRawBlock(ByteReader& file, LoadProblem* problem) {
    if (!isEmpty())
        return refuseLoad(problem, file.position(), "the image already holds a picture");
    ByteReader peek = file;
    const size_t start = file.position();
    int32_t width = 0, height = 0;
    if (!peek.readI32(&width) || !peek.readI32(&height))
        return refuseLoad(problem, file.size(), "the file ends inside the tileset's size");
    if (width < 1 || width > maxPictureSide)
        return refuseLoad(problem, start, "tileset width outside 1 to 16384");
    if (height < 1 || height > maxPictureSide)
        return refuseLoad(problem, start + 4, "tileset height outside 1 to 16384");
    size_t stride = strideFor(width);
    size_t pixelBytes = stride * static_cast<size_t>(height);
    if (peek.remaining() < fullColourTableBytes + pixelBytes)
        return refuseLoad(problem, file.size(),
                          "the file ends inside the tileset's colour table or pixels");

    size_t total = infoHeaderBytes + fullColourTableBytes + pixelBytes;
    FileBytes block;
    block.data.reset(new (std::nothrow) uint8_t[total]());
    if (!block.data)
        return refuseLoad(problem, start, "out of memory for the tileset");
    block.size = total;
    uint8_t* info = block.data.get();
    pokeU32(info + infoSizeField, infoHeaderBytes);
    pokeU32(info + widthField, static_cast<uint32_t>(width));
    pokeU32(info + heightField, static_cast<uint32_t>(height));
    info[planesField] = 1;
    info[bitCountField] = 8;
    pokeU32(info + imageSizeField, static_cast<uint32_t>(pixelBytes));
    pokeU32(info + colourCountField, 256);
    peek.readBytes(info + infoHeaderBytes, fullColourTableBytes + pixelBytes);
    file = peek;

    buffer_ = std::move(block);
    infoOffset_ = 0;
    tableOffset_ = infoHeaderBytes;
    bitsOffset_ = infoHeaderBytes + fullColourTableBytes;
    width_ = width;
    rows_ = height;
    stride_ = static_cast<int>(stride);
    colourCount_ = 256;
    bottomUp_ = true;
    return 1;
}

int BitmapImage::release() {
    *this = BitmapImage();
    return 1;
}

int BitmapImage::blit(Surface* surface, int dx, int dy, int w, int h, int sx, int sy) const {
    return draw(surface, false, 0, dx, dy, w, h, sx, sy);
}

int BitmapImage::blitKeyed(Surface* surface, int key, int dx, int dy, int w, int h, int sx,
                           int sy) const {
    return draw(surface, true, static_cast<uint8_t>(key), dx, dy, w, h, sx, sy);
}

int BitmapImage::draw(Surface* surface, bool keyed, uint8_t key, int dx0, int dy0, int w0, int h0,
                      int sx0, int sy0) const {
    if (isEmpty())
        return 0;
    LockedSurface view;
    if (!lockSurface(surface, &view))
        return 0;
    // Clipping in 64 bits, so that no sum of two arguments can overflow.
    int64_t dx = dx0, dy = dy0, w = w0, h = h0, sx = sx0, sy = sy0;
    const int64_t pitch = view.pitch, surfaceRows = view.height;
    bool drawn = true;
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    if (sx < 0 || sy < 0 || w <= 0 || h <= 0 || dx >= pitch || dy >= surfaceRows || sx > width_ ||
        sy > rows_)
        drawn = false;
    if (drawn) {
        w = std::min({w, pitch - dx, width_ - sx});
        h = std::min({h, surfaceRows - dy, rows_ - sy});
    }
    // A source corner on the picture's right or bottom edge is drawn: with nothing to copy.
    if (drawn && w > 0 && h > 0) {
        uint8_t* d = view.pixels + dy * pitch + dx;
        const uint8_t* s = row(static_cast<int>(sy)) + sx;
        const ptrdiff_t step = bottomUp_ ? -ptrdiff_t{stride_} : ptrdiff_t{stride_};
        if (keyed)
            copyRows<true>(d, pitch, s, step, static_cast<size_t>(w), static_cast<size_t>(h), key);
        else
            copyRows<false>(d, pitch, s, step, static_cast<size_t>(w), static_cast<size_t>(h), key);
    }
    int unlocked = unlockSurface(surface, view.pixels);
    return drawn && unlocked ? 1 : 0;
}

int BitmapImage::toPalette(DevicePalette* palette) const {
    if (isEmpty() || !palette)
        return 0;
    PaletteEntries entries{};
    const uint8_t* table = colourTable();
    for (int i = 0; i < 256; ++i) {
        PaletteEntry& entry = entries[static_cast<size_t>(i)];
        if (i < colourCount_) {
            const uint8_t* bgr = table + 4 * i;
            entry = PaletteEntry{bgr[2], bgr[1], bgr[0], PC_NOCOLLAPSE};
        } else {
            entry = PaletteEntry{0, 0, 0, PC_NOCOLLAPSE};
        }
    }
    return setPaletteEntries(palette, entries);
}

} // namespace kavorind
