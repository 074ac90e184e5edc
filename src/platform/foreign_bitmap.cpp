#include "platform/foreign_bitmap.h"

#include "platform/byte_io.h"

#include <SDL.h>

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

// The size the headers claim, checked before SDL allocates anything for it. An RLE picture may end
// early and leave the rest blank, so the bound on pixels per byte is generous.
int checkClaimedSize(std::span<const uint8_t> file, std::string* why) {
    ByteReader read(file);
    uint32_t headerSize = 0;
    int64_t width = 0, height = 0;
    if (!read.seek(14) || !read.readU32(&headerSize))
        return refuse(why, "the file ends inside the bitmap headers");
    if (headerSize == 12) {
        uint16_t w = 0, h = 0;
        if (!read.readU16(&w) || !read.readU16(&h))
            return refuse(why, "the file ends inside the bitmap headers");
        width = w;
        height = h;
    } else {
        int32_t w = 0, h = 0;
        if (!read.readI32(&w) || !read.readI32(&h))
            return refuse(why, "the file ends inside the bitmap headers");
        width = w;
        height = std::llabs(int64_t{h});
    }
    if (width < 1 || width > largestSide || height < 1 || height > largestSide)
        return refuse(why, "picture size " + std::to_string(width) + " x " +
                               std::to_string(height) + " is outside 1 to 16384");
    if (static_cast<uint64_t>(width * height) > file.size() * 1100 + 4096)
        return refuse(why, "the picture is larger than its file could hold");
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

int takeColours(SDL_Surface* surface, ForeignPicture* picture, std::string* why) {
    SurfaceHandle rgba(SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGBA32, 0));
    if (!rgba)
        return refuse(why, std::string("cannot convert the colours: ") + SDL_GetError());
    size_t rowBytes = static_cast<size_t>(rgba->w) * 4;
    picture->pixels.resize(rowBytes * static_cast<size_t>(rgba->h));
    for (int y = 0; y < rgba->h; ++y)
        std::memcpy(picture->pixels.data() + rowBytes * static_cast<size_t>(y),
                    static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch, rowBytes);
    return 1;
}

} // namespace

int decodeForeignBitmap(std::span<const uint8_t> file, ForeignPicture* picture, std::string* why) {
    *picture = ForeignPicture{};
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
        return refuse(why, "not a bitmap: the file does not start with \"BM\"");
    if (!checkClaimedSize(file, why))
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
