#include "platform/foreign_bitmap.h"

#include "platform/byte_io.h"
#include "platform/decoded_pixels.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace kavorind {

namespace {

constexpr int64_t largestSide = 16384;

struct SurfaceRelease {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfaceHandle = std::unique_ptr<SDL_Surface, SurfaceRelease>;

int refuse(std::string* why, const std::string& reason) {
    *why = reason;
    return 0;
}

// What the headers say, read before SDL allocates anything for the picture.
struct BitmapClaim {
    int64_t width = 0;
    int64_t height = 0;
    uint32_t pixelsAt = 0;   // where the pixel data starts
    uint32_t headerSize = 0; // the info header's
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
};

constexpr uint32_t compressedRle8 = 1, compressedRle4 = 2;

int readClaim(std::span<const uint8_t> file, BitmapClaim* claim, std::string* why) {
    ByteReader read(file);
    const char* shortFile = "the file ends inside the bitmap headers";
    if (!read.seek(10) || !read.readU32(&claim->pixelsAt) || !read.readU32(&claim->headerSize))
        return refuse(why, shortFile);
    if (claim->headerSize == 12) {
        uint16_t w = 0, h = 0, planes = 0;
        if (!read.readU16(&w) || !read.readU16(&h) || !read.readU16(&planes) ||
            !read.readU16(&claim->bitsPerPixel))
            return refuse(why, shortFile);
        claim->width = w;
        claim->height = h;
        return 1;
    }
    int32_t w = 0, h = 0;
    uint16_t planes = 0;
    if (!read.readI32(&w) || !read.readI32(&h) || !read.readU16(&planes) ||
        !read.readU16(&claim->bitsPerPixel) || !read.readU32(&claim->compression) ||
        !read.skip(12) || !read.readU32(&claim->coloursUsed))
        return refuse(why, shortFile);
    claim->width = w;
    claim->height = std::llabs(int64_t{h});
    return 1;
}

// The bytes of an RLE stream up to and including its end-of-picture mark (or the end of the file).
uint64_t rleStreamBytes(std::span<const uint8_t> file, const BitmapClaim& claim) {
    size_t at = claim.pixelsAt;
    while (at + 2 <= file.size()) {
        uint8_t count = file[at], code = file[at + 1];
        at += 2;
        if (count > 0)
            continue;
        if (code == 1)
            break;
        if (code == 2)
            at += 2;
        else if (code > 2) {
            size_t literal = claim.compression == compressedRle4 ? (code + 1u) / 2 : code;
            at += literal + (literal & 1);
        }
    }
    return std::min<uint64_t>(at, file.size()) - std::min<uint64_t>(claim.pixelsAt, file.size());
}

// The bytes that describe the picture: the headers, the colour table and the pixel data, without
// whatever is padded on between or after them. An RLE picture may end early and leave the rest
// blank, so its bound on pixels per byte is generous; uncompressed rows must all be there.
int fitsInFile(std::span<const uint8_t> file, const BitmapClaim& claim, std::string* why) {
    uint64_t pixels = static_cast<uint64_t>(claim.width * claim.height);
    const char* tooLarge = "the picture is larger than its file could hold";
    if (claim.compression != compressedRle8 && claim.compression != compressedRle4) {
        uint64_t rowBytes = (static_cast<uint64_t>(claim.width) * claim.bitsPerPixel + 31) / 32 * 4;
        if (claim.pixelsAt > file.size() || rowBytes * claim.height > file.size() - claim.pixelsAt)
            return refuse(why, tooLarge);
        return 1;
    }
    uint64_t colours = claim.coloursUsed ? std::min<uint64_t>(claim.coloursUsed, 256)
                                         : uint64_t{1} << std::min<int>(claim.bitsPerPixel, 8);
    uint64_t described =
        14 + uint64_t{claim.headerSize} + colours * 4 + rleStreamBytes(file, claim);
    if (pixels > described * 1100 + 4096)
        return refuse(why, tooLarge);
    return 1;
}

// The size the headers claim, checked before SDL allocates anything for it: within the sides the
// tools take, within what the file's own bytes describe, and within maxPixelBytes once decoded.
int checkClaimedSize(std::span<const uint8_t> file, uint64_t maxPixelBytes, std::string* why) {
    BitmapClaim claim;
    if (!readClaim(file, &claim, why))
        return 0;
    if (claim.width < 1 || claim.width > largestSide || claim.height < 1 ||
        claim.height > largestSide)
        return refuse(why, "picture size " + std::to_string(claim.width) + " x " +
                               std::to_string(claim.height) + " is outside 1 to 16384");
    if (!fitsInFile(file, claim, why))
        return 0;
    uint64_t decodedBytes =
        static_cast<uint64_t>(claim.width * claim.height) * (claim.bitsPerPixel <= 8 ? 1 : 4);
    if (decodedBytes > maxPixelBytes)
        return refuse(why, pixelBudgetRefusal(decodedBytes, maxPixelBytes));
    return 1;
}

void takeIndexed(const SDL_Surface* surface, ForeignPicture* picture) {
    const SDL_Palette* palette = surface->format->palette;
    int count = palette->ncolors < 1 ? 1 : (palette->ncolors > 256 ? 256 : palette->ncolors);
    picture->indexed = true;
    picture->colours.resize(static_cast<size_t>(count));
    for (int i = 0; i < count && i < palette->ncolors; ++i)
        picture->colours[i] = {palette->colors[i].r, palette->colors[i].g, palette->colors[i].b};
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        std::memcpy(picture->pixels.data() + static_cast<size_t>(y) * surface->w, row,
                    static_cast<size_t>(surface->w));
    }
}

// Converted straight into the picture's own rows, with no second surface between.
int takeColours(SDL_Surface* surface, ForeignPicture* picture, std::string* why) {
    size_t rowBytes = static_cast<size_t>(surface->w) * 4;
    picture->pixels.resize(rowBytes * static_cast<size_t>(surface->h));
    if (SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels,
                          surface->pitch, SDL_PIXELFORMAT_RGBA32, picture->pixels.data(),
                          static_cast<int>(rowBytes)) != 0)
        return refuse(why, std::string("cannot convert the colours: ") + SDL_GetError());
    return 1;
}

} // namespace

int decodeForeignBitmap(std::span<const uint8_t> file, ForeignPicture* picture, std::string* why,
                        uint64_t maxPixelBytes) {
    *picture = ForeignPicture{};
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        return refuse(why, "not a bitmap: the file does not start with \"BM\"");
    if (!checkClaimedSize(file, maxPixelBytes, why))
        return 0;
    SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    SurfaceHandle surface(stream ? SDL_LoadBMP_RW(stream, 1) : nullptr);
    if (!surface)
        return refuse(why, std::string("the bitmap cannot be read: ") + SDL_GetError());
    picture->width = surface->w;
    picture->height = surface->h;
    bool indexed = surface->format->BitsPerPixel == 8 && surface->format->palette;
    if (indexed) {
        picture->pixels.resize(static_cast<size_t>(surface->w) * static_cast<size_t>(surface->h));
        takeIndexed(surface.get(), picture);
        return 1;
    }
    if (!takeColours(surface.get(), picture, why)) {
        *picture = ForeignPicture{};
        return 0;
    }
    return 1;
}

} // namespace kavorind
