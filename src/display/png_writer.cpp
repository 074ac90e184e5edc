#include "display/png_writer.h"

#include <png.h>

#include <cstdio>

namespace kavorind {

namespace {

// libpng reports a failure by calling back and jumping out of the call that failed; the function
// holding the setjmp keeps no object with a destructor, so the jump skips nothing.
struct PngOutput {
    std::vector<uint8_t>* bytes = nullptr;
    char message[160] = {};
};

void onPngError(png_structp png, png_const_charp message) {
    auto* output = static_cast<PngOutput*>(png_get_error_ptr(png));
    std::snprintf(output->message, sizeof output->message, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, size_t count) {
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    output->bytes->insert(output->bytes->end(), data, data + count);
}

void flushNothing(png_structp) {}

int writeRows(png_structp png, png_infop info, PngOutput* output, const uint8_t* pixels, int pitch,
              int width, int height, png_colorp colours) {
    if (setjmp(png_jmpbuf(png)))
        return 0;
    png_set_write_fn(png, output, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch));
    png_write_end(png, info);
    return 1;
}

} // namespace

std::vector<uint8_t> encodeIndexedPng(const uint8_t* pixels, int pitch, int width, int height,
                                      const PaletteEntries& palette, std::string* why) {
    std::vector<uint8_t> bytes;
    if (!pixels || width < 1 || height < 1 || pitch < width) {
        *why = "no picture to write";
        return bytes;
    }
    png_color colours[256];
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
    PngOutput output{&bytes};
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const int written =
        info && writeRows(png, info, &output, pixels, pitch, width, height, colours);
    png_destroy_write_struct(&png, &info);
    if (!written) {
        *why = output.message[0] ? output.message : "no memory";
        bytes.clear();
    }
    return bytes;
}

int writeIndexedPng(const std::string& path, const uint8_t* pixels, int pitch, int width,
                    int height, const PaletteEntries& palette, FileDurability durability,
                    std::string* why) {
    // The system's reason alone, so that callers name the file with it as the other writers do.
    std::vector<uint8_t> file = encodeIndexedPng(pixels, pitch, width, height, palette, why);
    return !file.empty() && writeFileSafely(path, file, durability, why);
}

} // namespace kavorind
