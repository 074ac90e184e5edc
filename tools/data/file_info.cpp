#include "data/file_info.h"

#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "data/file_kind.h"
#include "platform/byte_io.h"
#include "sound/wave_clip.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>

namespace kavorind {

namespace {

// printf into a std::string, one line at a time; the compiler checks each format against its
// arguments.
// A size for line(): its %llu means the same to every C library's printf, where %zu does not
// (Windows' own lacks it, and the format check there goes by Windows' rules).
unsigned long long byteCount(size_t size) {
    return size;
}

[[gnu::format(printf, 2, 3)]] void line(std::string* out, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    *out += buffer;
    *out += '\n';
}

const char* plural(uint64_t count) {
    return count == 1 ? "" : "s";
}

std::string refusal(const LoadProblem& problem) {
    char where[64];
    std::snprintf(where, sizeof where, " (at byte %zu)", problem.offset);
    return "refused: " + problem.reason + where + "\n";
}

// The magic decides; the extension only names the loader whose refusal explains a file that has
// none ("Pal.Pal" is a bitmap).
std::string kindOf(const std::string& name, std::span<const uint8_t> bytes) {
    if (startsWith(bytes, "BM"))
        return "bitmap";
    if (startsWith(bytes, "SPR"))
        return "sprite set";
    if (startsWith(bytes, "MAP"))
        return "stage map";
    if (startsWith(bytes, "RIFF"))
        return "wave";
    std::string extension = lowerExtension(name);
    if (extension == "bmp" || extension == "pal")
        return "bitmap";
    if (extension == "spr")
        return "sprite set";
    if (extension == "map")
        return "stage map";
    if (extension == "wav")
        return "wave";
    return "unknown";
}

void describeBitmap(std::span<const uint8_t> bytes, FileInfo* info) {
    BitmapImage image;
    LoadProblem problem;
    if (!image.loadFromMemory(bytes, &problem)) {
        info->text = refusal(problem);
        return;
    }
    info->described = 1;
    std::string* out = &info->text;
    line(out, "8-bit Windows bitmap, uncompressed, %llu bytes", byteCount(bytes.size()));
    line(out, "info header: %u bytes", peekU32(image.infoHeader()));
    line(out, "picture: %d x %d pixels, rows stored %s, %d bytes per row", image.width(),
         image.height(), image.bottomUp() ? "bottom-up" : "top-down", image.rowStride());
    line(out, "colours: %d in the colour table", image.colourCount());
}

void describeSpriteSet(std::span<const uint8_t> bytes, FileInfo* info) {
    SpriteSet set;
    LoadProblem problem;
    if (!set.loadFromMemory(bytes, &problem)) {
        info->text = refusal(problem);
        return;
    }
    info->described = 1;
    std::string* out = &info->text;
    line(out, "sprite set (SPR), %llu bytes, %u bits per pixel", byteCount(bytes.size()),
         set.bitsPerPixel());
    // The game shows frame n for 30 / rate ticks; a rate of 0 must never reach that division.
    if (set.frameRate() == 0)
        line(out, "rate: 0 (no animation delay can be taken from it)");
    else
        line(out, "rate: %u (a frame every %u ticks)", set.frameRate(), 30 / set.frameRate());
    line(out, "colour key: %u", set.colourKey());
    line(out, "frames: %u", set.frameCount());
    for (uint32_t i = 0; i < set.frameCount(); ++i) {
        const SpriteFrame* frame = set.frameAt(i);
        line(out, "  frame %u: %d x %d, hot spot (%d, %d)", i, frame->width, frame->height,
             frame->hotX, frame->hotY);
    }
}

void describeSpawnCodes(const MapLayer& layer, std::string* out) {
    std::map<int, size_t> uses;
    for (uint8_t code : layer.spawns)
        if (code != 0)
            ++uses[code];
    if (uses.empty()) {
        line(out, "    spawn codes: none");
        return;
    }
    std::string list;
    for (auto [code, count] : uses)
        list += (list.empty() ? "" : ", ") + std::to_string(code) + " x" + std::to_string(count);
    line(out, "    spawn codes: %s", list.c_str());
}

void describeStageMap(std::span<const uint8_t> bytes, FileInfo* info) {
    StageMap map;
    LoadProblem problem;
    if (!map.loadFromMemory(bytes, &problem)) {
        info->text = refusal(problem);
        return;
    }
    info->described = 1;
    std::string* out = &info->text;
    auto [columns, rows] = map.mapSize();
    auto [tileWidth, tileHeight] = map.tileSize();
    line(out, "stage map (MAP), %llu bytes", byteCount(bytes.size()));
    line(out, "map: %d x %d cells in %u layer%s", columns, rows, map.layerCount(),
         plural(map.layerCount()));
    line(out, "tiles: %d x %d pixels, %d in a %d x %d tileset", tileWidth, tileHeight,
         map.tileCount(), map.tileset().width(), map.tileset().height());
    for (uint32_t i = 0; i < map.layerCount(); ++i) {
        const MapLayer* layer = map.layer(i);
        size_t empty = static_cast<size_t>(std::count_if(layer->tiles.begin(), layer->tiles.end(),
                                                         [](uint16_t t) { return t >= 40000; }));
        line(out, "  layer %u: %llu empty cells of %llu", i, byteCount(empty),
             byteCount(layer->tiles.size()));
        describeSpawnCodes(*layer, out);
    }
}

void describeWave(std::span<const uint8_t> bytes, FileInfo* info) {
    WaveClip clip;
    LoadProblem problem;
    if (!clip.loadFromMemory(bytes, &problem)) {
        info->text = refusal(problem);
        return;
    }
    info->described = 1;
    std::string* out = &info->text;
    const WaveFormat& format = *clip.format();
    line(out, "RIFF WAVE, %llu bytes", byteCount(bytes.size()));
    line(out, "format: tag %u%s, %u channel%s, %u samples a second, %u bits, block %u bytes",
         format.formatTag, format.formatTag == WAVE_FORMAT_PCM ? " (PCM)" : " (not PCM)",
         format.channels, plural(format.channels), format.samplesPerSec, format.bitsPerSample,
         format.blockAlign);
    double seconds = format.avgBytesPerSec
                         ? static_cast<double>(clip.sampleSize()) / format.avgBytesPerSec
                         : 0.0;
    line(out, "samples: %u bytes, %.3f seconds", clip.sampleSize(), seconds);
}

} // namespace

FileInfo describeContent(const std::string& name, std::span<const uint8_t> bytes) {
    FileInfo info;
    info.kind = kindOf(name, bytes);
    if (info.kind == "bitmap")
        describeBitmap(bytes, &info);
    else if (info.kind == "sprite set")
        describeSpriteSet(bytes, &info);
    else if (info.kind == "stage map")
        describeStageMap(bytes, &info);
    else if (info.kind == "wave")
        describeWave(bytes, &info);
    else
        info.text = "refused: not a bitmap, sprite set, stage map or wave (at byte 0)\n";
    return info;
}

} // namespace kavorind
