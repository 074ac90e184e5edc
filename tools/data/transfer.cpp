#include "data/transfer.h"

#include "data/bitmap_transfer.h"
#include "data/file_kind.h"
#include "data/map_transfer.h"
#include "data/sprite_transfer.h"
#include "sound/wave_clip.h"

#include <cctype>
#include <cstring>

namespace kavorind {

namespace {

std::string baseName(const std::string& name) {
    size_t slash = name.find_last_of('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// A wave is already a format every sound editor reads, so it travels unchanged both ways; only
// whether the game will play it is checked.
int passWave(const std::string& name, std::span<const uint8_t> bytes, std::vector<uint8_t>* out,
             std::string* why) {
    WaveClip clip;
    LoadProblem problem;
    if (!clip.loadFromMemory(bytes, &problem)) {
        *why = name + ": the game would refuse this wave: " + problem.reason + " (at byte " +
               std::to_string(problem.offset) + ")";
        return 0;
    }
    out->assign(bytes.begin(), bytes.end());
    return 1;
}

} // namespace

int readSourceFile(const std::string& path, FileBytes* bytes, std::string* why) {
    std::string reason;
    if (readRegularFile(path, maxSourceFileBytes, bytes, &reason))
        return 1;
    // "is a FIFO, not a file" and "larger than 256 MiB" say it all; the system's reasons do not.
    bool plain = reason.rfind("is ", 0) == 0 || reason.rfind("larger ", 0) == 0;
    *why = plain ? reason : "cannot be read: " + reason;
    return 0;
}

std::string fileStem(const std::string& name) {
    std::string base = baseName(name);
    size_t dot = base.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? base : base.substr(0, dot);
}

int exportContent(const std::string& name, std::span<const uint8_t> bytes,
                  std::vector<ExportedFile>* files, std::string* why) {
    std::string stem = fileStem(name);
    if (startsWith(bytes, "BM"))
        return exportBitmap(stem, bytes, files, why);
    if (startsWith(bytes, "SPR"))
        return exportSpriteSet(stem, bytes, files, why);
    if (startsWith(bytes, "MAP"))
        return exportStageMap(stem, bytes, files, why);
    if (startsWith(bytes, "RIFF")) {
        ExportedFile wave{baseName(name), {}};
        if (!passWave(name, bytes, &wave.bytes, why))
            return 0;
        files->push_back(std::move(wave));
        return 1;
    }
    *why = name + ": not a bitmap, sprite set, stage map or wave (its first bytes are none of "
                  "BM, SPR, MAP, RIFF)";
    return 0;
}

int importContent(const ImportSource& given, ImportResult* result, std::string* why) {
    PixelBudget ownBudget;
    ImportSource source = given;
    if (!source.pixels)
        source.pixels = &ownBudget;
    std::string extension = lowerExtension(source.name);
    static const uint8_t pngSignature[] = {0x89, 'P', 'N', 'G'};
    bool png = source.bytes.size() >= 4 && std::memcmp(source.bytes.data(), pngSignature, 4) == 0;
    if (png || extension == "png")
        return importBitmapFromPng(source, result, why);
    if (startsWith(source.bytes, "BM") || extension == "bmp" || extension == "pal")
        return importBitmapFromBmp(source, result, why);
    if (extension == "json")
        return importSpriteSet(source, result, why);
    if (extension == "tmx")
        return importStageMap(source, result, why);
    if (startsWith(source.bytes, "RIFF") || extension == "wav")
        return passWave(source.name, source.bytes, &result->bytes, why);
    *why = source.name + ": cannot tell what to make of it; import takes a .png, .bmp, .json (a "
                         "sprite set's description), .tmx (a Tiled map) or .wav";
    return 0;
}

} // namespace kavorind
