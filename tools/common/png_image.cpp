#include "common/png_image.h"

#include "platform/content_file.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace kavorind {

namespace {

// libpng reports failures by calling back and jumping out of the call that failed; the functions
// between a setjmp and libpng's calls hold no object with a destructor, so the jump skips nothing.
struct PngExchange {
    std::span<const uint8_t> file;
    size_t at = 0;
    uint64_t imageDataBytes = 0;
    uint64_t maxPixelBytes = 0;
    std::vector<uint8_t>* out = nullptr;
    char message[160] = {};
    uint64_t claimedPixelBytes = 0; // set when the picture's pixels would pass maxPixelBytes
};

void onPngError(png_structp png, png_const_charp message) {
    auto* exchange = static_cast<PngExchange*>(png_get_error_ptr(png));
    std::snprintf(exchange->message, sizeof exchange->message, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void readBytes(png_structp png, png_bytep out, size_t count) {
    auto* exchange = static_cast<PngExchange*>(png_get_io_ptr(png));
    if (count > exchange->file.size() - exchange->at)
        png_error(png, "the file ends before the picture does");
    std::memcpy(out, exchange->file.data() + exchange->at, count);
    exchange->at += count;
}

void writeBytes(png_structp png, png_bytep data, size_t count) {
    auto* exchange = static_cast<PngExchange*>(png_get_io_ptr(png));
    exchange->out->insert(exchange->out->end(), data, data + count);
}

void flushNothing(png_structp) {}

// Deflate packs at most about 1032 bytes into one, so a picture whose rows (as stored, a filter
// byte each) need far more bytes than its image data chunks hold is refused before anything is
// allocated for it. Only the image data counts: bytes padded on elsewhere describe no pixel.
bool plausibleSize(png_structp png, png_infop info, uint64_t imageDataBytes) {
    uint64_t width = png_get_image_width(png, info);
    uint64_t height = png_get_image_height(png, info);
    uint64_t bitsPerPixel = uint64_t{png_get_channels(png, info)} * png_get_bit_depth(png, info);
    uint64_t storedBytes = height * (1 + (width * bitsPerPixel + 7) / 8);
    return storedBytes <= imageDataBytes * 1100 + 4096;
}

// libpng allocates a side chunk's whole claimed length before reading it (the limit it can be given
// does not cover chunks after the image data), so a chunk claiming more bytes than the file holds
// is refused up front instead of costing gigabytes. The image data chunks' bytes in *imageData.
bool chunksFitInFile(std::span<const uint8_t> file, uint64_t* imageData) {
    size_t at = 8;
    *imageData = 0;
    while (file.size() - at >= 12) {
        const uint8_t* header = file.data() + at;
        size_t length =
            size_t{header[0]} << 24 | size_t{header[1]} << 16 | size_t{header[2]} << 8 | header[3];
        if (length > file.size() - at - 12)
            return false;
        if (std::memcmp(header + 4, "IEND", 4) == 0)
            break;
        if (std::memcmp(header + 4, "IDAT", 4) == 0)
            *imageData += length;
        at += 12 + length;
    }
    return true;
}

void takeTexts(png_structp png, png_infop info, PngPicture* picture) {
    png_textp texts = nullptr;
    int count = png_get_text(png, info, &texts, nullptr);
    for (int i = 0; i < count; ++i)
        picture->texts.emplace_back(texts[i].key ? texts[i].key : "",
                                    texts[i].text ? std::string(texts[i].text, texts[i].text_length)
                                                  : std::string());
}

// Sets libpng's transformations: indices stay indices (unpacked to a byte each), everything else
// becomes 8-bit RGBA.
void chooseLayout(png_structp png, png_infop info, PngPicture* picture) {
    int colourType = png_get_color_type(png, info);
    int depth = png_get_bit_depth(png, info);
    picture->indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    if (picture->indexed) {
        if (depth < 8)
            png_set_packing(png);
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &colours, &count) == PNG_INFO_PLTE) {
            picture->paletteSize = count;
            for (int i = 0; i < count && i < 256; ++i)
                picture->palette[i] = {colours[i].red, colours[i].green, colours[i].blue, 0};
        }
        return;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if (!(colourType & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
}

int readPicture(png_structp png, png_infop info, PngExchange* exchange, PngPicture* picture) {
    if (setjmp(png_jmpbuf(png)))
        return 0;
    png_set_read_fn(png, exchange, readBytes);
    png_set_user_limits(png, pngMaxSide, pngMaxSide);
    png_read_info(png, info);
    picture->width = static_cast<int>(png_get_image_width(png, info));
    picture->height = static_cast<int>(png_get_image_height(png, info));
    if (!plausibleSize(png, info, exchange->imageDataBytes))
        png_error(png, "the picture is larger than its file could hold");
    chooseLayout(png, info, picture);
    uint64_t pixelBytes =
        uint64_t(picture->width) * uint64_t(picture->height) * uint64_t(picture->bytesPerPixel());
    if (pixelBytes > exchange->maxPixelBytes) {
        exchange->claimedPixelBytes = pixelBytes;
        png_error(png, "too many pixels");
    }
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    size_t rowBytes = static_cast<size_t>(picture->width) * picture->bytesPerPixel();
    if (png_get_rowbytes(png, info) != rowBytes)
        png_error(png, "unexpected row layout");
    picture->pixels.assign(rowBytes * static_cast<size_t>(picture->height), 0);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < picture->height; ++y)
            png_read_row(png, picture->pixels.data() + rowBytes * static_cast<size_t>(y), nullptr);
    png_read_end(png, info);
    takeTexts(png, info, picture);
    return 1;
}

int writePicture(png_structp png, png_infop info, PngExchange* exchange, const PngPicture& picture,
                 png_colorp colours, png_textp texts, int textCount) {
    if (setjmp(png_jmpbuf(png)))
        return 0;
    png_set_write_fn(png, exchange, writeBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8,
                 picture.indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (picture.indexed)
        png_set_PLTE(png, info, colours, picture.paletteSize);
    if (textCount > 0)
        png_set_text(png, info, texts, textCount);
    png_write_info(png, info);
    size_t rowBytes = static_cast<size_t>(picture.width) * picture.bytesPerPixel();
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, picture.pixels.data() + rowBytes * static_cast<size_t>(y));
    png_write_end(png, info);
    return 1;
}

int checkPicture(const PngPicture& picture, std::string* why) {
    const char* fault = nullptr;
    if (picture.width < 1 || picture.height < 1 || picture.width > pngMaxSide ||
        picture.height > pngMaxSide)
        fault = "a size below 1 or above 16384";
    else if (picture.pixels.size() != static_cast<size_t>(picture.width) *
                                          static_cast<size_t>(picture.height) *
                                          picture.bytesPerPixel())
        fault = "a pixel count other than width x height";
    else if (picture.indexed && (picture.paletteSize < 1 || picture.paletteSize > 256))
        fault = "a palette of other than 1 to 256 colours";
    if (fault && why)
        *why = fault;
    return fault ? 0 : 1;
}

} // namespace

int decodePng(std::span<const uint8_t> file, PngPicture* picture, std::string* why,
              uint64_t maxPixelBytes) {
    *picture = PngPicture{};
    if (file.size() < 8 || png_sig_cmp(file.data(), 0, 8)) {
        *why = "not a PNG file (its first bytes are not the PNG signature)";
        return 0;
    }
    uint64_t imageDataBytes = 0;
    if (!chunksFitInFile(file, &imageDataBytes)) {
        *why = "damaged PNG: a chunk runs past the end of the file";
        return 0;
    }
    PngExchange exchange{file};
    exchange.imageDataBytes = imageDataBytes;
    exchange.maxPixelBytes = maxPixelBytes;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &exchange, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    int read = info && readPicture(png, info, &exchange, picture);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read && exchange.claimedPixelBytes)
        *why = pixelBudgetRefusal(exchange.claimedPixelBytes, maxPixelBytes);
    else if (!read)
        *why =
            std::string("damaged PNG: ") + (exchange.message[0] ? exchange.message : "no memory");
    if (!read)
        *picture = PngPicture{};
    return read;
}

std::vector<uint8_t> encodePng(const PngPicture& picture, std::string* why) {
    std::vector<uint8_t> file;
    if (!checkPicture(picture, why))
        return file;
    png_color colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {picture.palette[i].red, picture.palette[i].green, picture.palette[i].blue};
    std::vector<png_text> texts(picture.texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
        texts[i].key = const_cast<char*>(picture.texts[i].first.c_str());
        texts[i].text = const_cast<char*>(picture.texts[i].second.c_str());
        texts[i].text_length = picture.texts[i].second.size();
    }
    PngExchange exchange;
    exchange.out = &file;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &exchange, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    int written = info && writePicture(png, info, &exchange, picture, colours, texts.data(),
                                       static_cast<int>(texts.size()));
    png_destroy_write_struct(&png, &info);
    if (!written) {
        if (why)
            *why = exchange.message[0] ? exchange.message : "no memory";
        file.clear();
    }
    return file;
}

int writePng(const std::string& path, const PngPicture& picture, std::string* why,
             FileDurability durability) {
    std::vector<uint8_t> file = encodePng(picture, why);
    if (file.empty())
        return 0;
    std::string reason;
    if (writeFileSafely(path, file, durability, &reason))
        return 1;
    if (why)
        *why = "cannot be written: " + reason;
    return 0;
}

const std::string* pngText(const PngPicture& picture, const std::string& keyword) {
    for (const auto& [key, text] : picture.texts)
        if (key == keyword)
            return &text;
    return nullptr;
}

} // namespace kavorind
