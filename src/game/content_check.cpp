#include "game/content_check.h"

#include "assets/bitmap_image.h"
#include "assets/content_catalogue.h"
#include "game/game_types.h"
#include "platform/content_file.h"
#include "platform/content_path.h"
#include "platform/wave_decoder.h"
#include "sound/wave_writer.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

// The two palette indices the game keeps for transparency: sprite sets and the stages' middle
// layers choose one of them as their key.
constexpr uint8_t keyColours[] = {249, 255};

const char* const rewriteFix = "write it again (kavorind-content DIR writes the default one)";

// Files read after start-up. Without a menu picture the game stops when the menu starts; the
// others leave a scene blank or silent.
struct LaterFile {
    const char* name;
    int severity;
};
constexpr LaterFile laterFiles[] = {
    {"Menu-b.BMP", ContentError},     {"Menu-s.BMP", ContentError},
    {"LOGO.BMP", ContentWarning},     {"open-bk.bmp", ContentWarning},
    {"open-s.bmp", ContentWarning},   {"open-c.spr", ContentWarning},
    {"Open-M.wav", ContentWarning},   {"C-Eff.wav", ContentWarning},
    {"C-Music.wav", ContentWarning},  {"Ending-s.spr", ContentWarning},
    {"MENU-B.WAV", ContentWarning},   {"MENU-S.WAV", ContentWarning},
    {"Ending-B.WAV", ContentWarning},
};

// Pictures drawn without a key: a key colour in them shows as whatever the palette holds there.
const char* const unkeyedPictures[] = {"LOGO.BMP",    "Menu-b.BMP", "Menu-s.BMP",
                                       "open-bk.bmp", "open-s.bmp", "Clear-bk.bmp"};

struct FolderCheck {
    std::string dir;
    std::vector<ContentProblem> problems;
    std::set<std::string> unreadable; // reported already; their rules are not checked

    std::string pathOf(const std::string& name) const { return dir + "/" + name; }
    bool readable(const std::string& name) const { return !unreadable.count(name); }
    void add(const std::string& file, int severity, std::string what, std::string fix) {
        problems.push_back(ContentProblem{file, severity, std::move(what), std::move(fix)});
    }
};

std::string lowerExtension(const std::string& name) {
    std::string ext = name.substr(name.rfind('.') + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

bool exists(const std::string& path) {
    std::error_code problem;
    return fs::exists(fs::symlink_status(contentPath(path), problem));
}

// Why a file that failed to load cannot even be read: "missing", "is a FIFO, not a file",
// "cannot be read: Permission denied"; empty when it reads whole (its bytes are then at fault).
// Read without waiting on a FIFO, within the loader's own size limit.
std::string readProblem(const std::string& path) {
    if (!exists(path))
        return "missing";
    FileBytes bytes;
    std::string why;
    uint64_t limit = lowerExtension(path) == "wav" ? maxWaveFileBytes : maxContentFileBytes;
    if (readWholeFile(path, limit, &bytes, &why))
        return "";
    if (why.rfind("is ", 0) == 0)
        return why;
    if (why.rfind("larger ", 0) == 0)
        return "is " + why + ", more than the game reads";
    return "cannot be read: " + why;
}

// Where a bitmap file keeps its bit count and its compression.
constexpr size_t bitCountAt = 28;
constexpr size_t compressionAt = 30;

// The usual reasons an image editor's bitmap is refused, found by the game's own loader: the field
// it stopped at names compression or a depth other than 8. Empty for other refusals (the file is
// then damaged).
std::string bitmapRefusal(const std::string& path, std::string* fix) {
    LoadProblem problem;
    if (BitmapImage().load(path, &problem))
        return "";
    if (problem.offset == compressionAt) {
        *fix = "save it as an uncompressed 8-bit BMP (ImageMagick: -compress none)";
        return "it is RLE8-compressed; the game reads only uncompressed bitmaps";
    }
    if (problem.offset == bitCountAt) {
        *fix = "save it with a 256-colour palette as an 8-bit BMP";
        return "it does not have 8 bits per pixel; the game reads only 8";
    }
    return "";
}

void noteUnreadable(FolderCheck& check, const std::string& name, int severity) {
    check.unreadable.insert(name);
    std::string path = check.pathOf(name);
    std::string unread = readProblem(path);
    if (unread == "missing") {
        check.add(name, severity, "missing",
                  "add it (names match without regard to case); kavorind-content DIR writes "
                  "the default set");
        return;
    }
    if (!unread.empty()) {
        check.add(name, severity, unread,
                  "put a readable file of that name there; kavorind-content DIR writes the "
                  "default one");
        return;
    }
    std::string fix = rewriteFix, what;
    std::string ext = lowerExtension(name);
    if (ext == "bmp" || ext == "pal")
        what = bitmapRefusal(path, &fix);
    if (what.empty())
        what = "cannot be read: it is truncated or damaged";
    check.add(name, severity, what, fix);
}

int loadsAlone(const std::string& path) {
    std::string ext = lowerExtension(path);
    if (ext == "spr")
        return SpriteSet().load(path);
    if (ext == "wav")
        return WaveClip().load(path.c_str());
    return BitmapImage().load(path);
}

void checkLaterFiles(FolderCheck& check) {
    for (const LaterFile& file : laterFiles)
        if (!loadsAlone(check.pathOf(file.name)))
            noteUnreadable(check, file.name, file.severity);
}

void checkRatesAndFrames(FolderCheck& check, const ContentCatalogue& content, GameTypes* types) {
    std::vector<UnusableSet> unusable;
    fillGameTypesNoting(content, types, &unusable);
    for (const UnusableSet& set : unusable) {
        if (!check.readable(set.file))
            continue;
        if (set.framesNeeded == 0)
            check.add(set.file, ContentError, "its animation rate is 0, and the game divides by it",
                      "set a rate of 1 to 30 frames a second");
        else
            check.add(set.file, ContentError,
                      "it has " + std::to_string(set.framesHeld) +
                          " frames; the game shows up to " + std::to_string(set.framesNeeded),
                      "give it at least " + std::to_string(set.framesNeeded) + " frames");
    }
    if (check.readable("English.spr") && content.letterFont.frameCount() < 26)
        check.add("English.spr", ContentWarning,
                  "it has " + std::to_string(content.letterFont.frameCount()) +
                      " frames; letters past the last are not drawn",
                  "give it 26 frames, A to Z");
}

bool codeHasMeaning(int code) {
    return (code >= 1 && code <= itemKindCount) || (code >= 10 && code < 10 + enemyTypeCount);
}

// Spawn codes are read from layer 0 of the middle map only.
void checkSpawnCodes(FolderCheck& check, const StageMap& map, const std::string& name,
                     const GameTypes& types) {
    struct Seen {
        int count = 0, column = 0, row = 0;
    };
    std::map<int, Seen> meaningless;
    bool boss = false;
    auto [width, height] = map.mapSize();
    for (int column = 0; column < width; ++column)
        for (int row = 0; row < height; ++row) {
            int code = map.spawnCodeAt(0, column, row);
            if (code >= 10 && code < 10 + enemyTypeCount)
                boss |= types.enemyTypes[static_cast<size_t>(code - 10)].boss != 0;
            if (code == 0 || codeHasMeaning(code))
                continue;
            Seen& seen = meaningless[code];
            if (seen.count++ == 0)
                seen = Seen{1, column, row};
        }
    for (const auto& [code, seen] : meaningless)
        check.add(name, ContentWarning,
                  "spawn code " + std::to_string(code) + " places nothing (" +
                      std::to_string(seen.count) + " times, first at column " +
                      std::to_string(seen.column) + ", row " + std::to_string(seen.row) + ")",
                  "use 1 to 3 for items or 10 to 19 for enemies");
    if (!boss)
        check.add(name, ContentWarning,
                  "the stage places no boss, and only destroying its boss clears a stage",
                  "place a boss (spawn code 10, 18 or 19) near the end of the stage");
}

// How many pixels of the tiles that the map's layer 0 uses hold the colour.
long usedTilePixels(const StageMap& map, uint8_t colour) {
    std::vector<bool> used(static_cast<size_t>(map.tileCount()), false);
    for (uint16_t tile : map.layer(0)->tiles)
        if (tile < map.tileCount())
            used[tile] = true;
    size_t size = static_cast<size_t>(map.tileSize().first) * map.tileSize().second;
    long count = 0;
    for (int k = 0; k < map.tileCount(); ++k)
        if (used[static_cast<size_t>(k)])
            count += std::count(map.tile(k), map.tile(k) + size, colour);
    return count;
}

void checkMapKeys(FolderCheck& check, const StageMap& map, const std::string& name, int key) {
    if (!check.readable(name) || !map.layer(0))
        return;
    for (uint8_t colour : keyColours) {
        long count = colour == key ? 0 : usedTilePixels(map, colour);
        if (count > 0)
            check.add(name, ContentWarning,
                      std::to_string(count) + " pixels of its tiles hold key colour " +
                          std::to_string(colour) + ", which this layer shows as a colour",
                      key < 0 ? "use other colours; this layer is drawn without a key"
                              : "use " + std::to_string(key) + " where the back should show");
    }
}

void checkStages(FolderCheck& check, const ContentCatalogue& content, const GameTypes& types) {
    for (int s = 0; s < stageCount; ++s) {
        std::string number = std::to_string(s + 1);
        std::string middle = "Stage-M" + number + ".map";
        const auto index = static_cast<size_t>(s);
        if (check.readable(middle) && content.middleMaps[index].layer(0))
            checkSpawnCodes(check, content.middleMaps[index], middle, types);
        checkMapKeys(check, content.backMaps[index], "Stage-B" + number + ".map", -1);
        checkMapKeys(check, content.middleMaps[index], middle, stageInfo(types, s).middleKey);
        checkMapKeys(check, content.frontMaps[index], "Stage-F" + number + ".map", -1);
    }
}

int countPixels(const BitmapImage& image, int x0, int y0, int w, int h, uint8_t colour) {
    int count = 0;
    for (int y = y0; y < y0 + h; ++y)
        count += static_cast<int>(std::count(image.row(y) + x0, image.row(y) + x0 + w, colour));
    return count;
}

// The tally draws the bar for h hit points from rows 150 + 20 h of the panel, 12 rows high and up
// to 150 pixels wide; index 0 there would leave the bar unseen.
void checkTallyBars(FolderCheck& check, const BitmapImage& panel) {
    const int barWidth = 150, barHeight = 12, firstRow = 150, step = 20, bars = 5;
    if (!check.readable("Clear-bk.bmp"))
        return;
    if (panel.width() < barWidth || panel.height() < firstRow + step * bars + barHeight) {
        check.add("Clear-bk.bmp", ContentWarning,
                  "it is " + std::to_string(panel.width()) + " x " +
                      std::to_string(panel.height()) + "; the hit-point bars need 150 x 262",
                  "draw the five bars at rows 170, 190, 210, 230 and 250, 12 rows high");
        return;
    }
    for (int h = 1; h <= bars; ++h)
        if (countPixels(panel, 0, firstRow + step * h, barWidth, barHeight, 0) > 0)
            check.add("Clear-bk.bmp", ContentWarning,
                      "the bar for " + std::to_string(h) + " hit points has blank pixels",
                      "fill rows " + std::to_string(firstRow + step * h) + " to " +
                          std::to_string(firstRow + step * h + barHeight - 1) +
                          ", columns 0 to 149, with colours other than index 0");
}

void checkPictureKeys(FolderCheck& check) {
    for (const char* name : unkeyedPictures) {
        BitmapImage image;
        if (!check.readable(name) || !image.load(check.pathOf(name)))
            continue;
        int count = 0;
        for (uint8_t colour : keyColours)
            count += countPixels(image, 0, 0, image.width(), image.height(), colour);
        if (count > 0)
            check.add(name, ContentWarning,
                      std::to_string(count) + " pixels hold the key colours 249 or 255",
                      "use other colours; the game keeps those for transparency");
    }
}

// The first frame of the set showing a key colour that is not its own key; -1 when none does.
long frameShowingOtherKey(const SpriteSet& set) {
    uint8_t key = set.colourKey() & 0xFF;
    for (uint32_t f = 0; f < set.frameCount(); ++f) {
        const SpriteFrame* frame = set.frameAt(f);
        for (int y = 0; y < frame->height; ++y)
            for (int x = 0; x < frame->width; ++x) {
                uint8_t v = frame->row(y)[x];
                if (v != key && (v == keyColours[0] || v == keyColours[1]))
                    return f;
            }
    }
    return -1;
}

void checkSpriteKeys(FolderCheck& check) {
    std::vector<std::string> names(startUpFileNames.begin(), startUpFileNames.end());
    for (const LaterFile& file : laterFiles)
        names.push_back(file.name);
    for (const std::string& name : names) {
        SpriteSet set;
        if (lowerExtension(name) != "spr" || !check.readable(name) || !set.load(check.pathOf(name)))
            continue;
        long frame = frameShowingOtherKey(set);
        if (frame >= 0)
            check.add(name, ContentWarning,
                      "frame " + std::to_string(frame) +
                          " shows a key colour (249 or 255) that is not its own key " +
                          std::to_string(set.colourKey() & 0xFF),
                      "use the set's key for transparent pixels and other colours elsewhere");
    }
}

std::string pcmSilence(const WaveClip& clip) {
    const WaveFormat& format = *clip.format();
    if (format.channels == 0)
        return "0 channels";
    if (format.channels > 8)
        return std::to_string(format.channels) + " channels; the game plays 1 to 8";
    if (static_cast<int32_t>(format.samplesPerSec) <= 0)
        return "a sample rate of " + std::to_string(format.samplesPerSec);
    if (clip.sampleSize() < format.channels * format.bitsPerSample / 8u)
        return "less than one sample frame of data";
    // The conversion works in a buffer at least as large as the samples.
    if (clip.sampleSize() > maxConvertedSoundBytes)
        return "more than the 128 MiB of samples the sound output keeps for one sound";
    return "";
}

// The waves the game loads, at start-up and later.
std::vector<std::string> waveNames() {
    std::vector<std::string> names;
    for (const char* name : startUpFileNames)
        if (lowerExtension(name) == "wav")
            names.push_back(name);
    for (const LaterFile& file : laterFiles)
        if (lowerExtension(file.name) == "wav")
            names.push_back(file.name);
    return names;
}

void checkWaves(FolderCheck& check) {
    for (const std::string& name : waveNames()) {
        WaveClip clip;
        if (!check.readable(name) || !clip.load(check.pathOf(name).c_str()))
            continue;
        std::string silence = whyWaveIsSilent(clip);
        if (!silence.empty())
            check.add(name, ContentWarning, silence,
                      "save it as 8- or 16-bit PCM with 1 or 2 channels at a rate the sound "
                      "output takes (11025, 22050 or 44100 Hz)");
    }
}

} // namespace

std::string whyWaveIsSilent(const WaveClip& clip) {
    const WaveFormat& format = *clip.format();
    if (!clip.hasSamples())
        return "its \"data\" chunk holds no whole sample frame: it plays silent";
    // 8- and 16-bit PCM is converted as it is; everything else goes through the decoder.
    if (format.formatTag == WAVE_FORMAT_PCM &&
        (format.bitsPerSample == 8 || format.bitsPerSample == 16)) {
        std::string silence = pcmSilence(clip);
        return silence.empty() ? silence : silence + ": it plays silent";
    }
    std::vector<uint8_t> file =
        waveFileFromChunks(clip.formatChunk(), {clip.samples(), clip.sampleSize()});
    std::string why = "too large to hand over";
    if (!file.empty() && platformWaveDecodes(file, &why))
        return "";
    std::string kind = format.formatTag == WAVE_FORMAT_PCM
                           ? std::to_string(format.bitsPerSample) + "-bit PCM"
                           : "format tag " + std::to_string(format.formatTag);
    return kind + ", which the game cannot decode (" + why + "): it plays silent";
}

std::vector<ContentProblem> checkContentFolder(const std::string& dir) {
    FolderCheck check{dir, {}, {}};
    std::error_code problem;
    if (!fs::is_directory(dir, problem)) {
        check.add(dir, ContentError, "is not a folder", "name the folder that holds the content");
        return check.problems;
    }
    auto content = std::make_unique<ContentCatalogue>();
    for (const char* name : loadStartUpFilesFrom(dir, content.get()))
        noteUnreadable(check, name, ContentError);
    checkLaterFiles(check);
    auto types = std::make_unique<GameTypes>();
    checkRatesAndFrames(check, *content, types.get());
    checkStages(check, *content, *types);
    checkTallyBars(check, content->clearPanel);
    checkPictureKeys(check);
    checkSpriteKeys(check);
    checkWaves(check);
    return check.problems;
}

int checkExitCode(const std::vector<ContentProblem>& problems) {
    int code = 0;
    for (const ContentProblem& p : problems)
        code = std::max(code, p.severity == ContentError ? 2 : 1);
    return code;
}

std::string describeProblem(const ContentProblem& problem) {
    return std::string(problem.severity == ContentError ? "error" : "warning") + ": " +
           problem.file + ": " + problem.what + "; fix: " + problem.fix;
}

} // namespace kavorind
