#pragma once
#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "sound/wave_clip.h"

#include <array>
#include <string>
#include <vector>

namespace kavorind {

// The content file that stopped the program, kept so that the shell can name it.
enum ContentFault {
    ContentFine = 0,
    ContentAbsent = 1,   // no such file in the content folder
    ContentDamaged = 2,  // it is there but could not be read
    ContentUnusable = 3, // it was read, but its rate or frames do not suit the game
};

struct ContentFailure {
    std::string file;
    ContentFault fault = ContentFine;
};

// Every piece of content the program keeps for its whole run, read from fixed file names in the
// working directory.
struct ContentCatalogue {
    // Read when the program starts, without any check: a missing file leaves its object empty and
    // the scene that uses it shows or plays nothing in its place.
    WaveClip tallyEffect;          // "C-Eff.wav"
    WaveClip tallyMusic;           // "C-Music.wav"
    SpriteSet endingAnimation;     // "Ending-s.spr"
    BitmapImage logoPicture;       // "LOGO.BMP"
    BitmapImage openingBackground; // "open-bk.bmp"
    BitmapImage openingText;       // "open-s.bmp"
    SpriteSet openingAnimation;    // "open-c.spr"
    WaveClip openingMusic;         // "Open-M.wav"

    // Read by start-up, in this order; the first that fails stops the program.
    BitmapImage gamePalette; // "Pal.Pal": only its colour table is used
    std::array<StageMap, 3> backMaps;
    std::array<StageMap, 3> middleMaps;
    std::array<StageMap, 3> frontMaps;
    std::array<SpriteSet, 3> playerSprites; // flight, attack, collision shape
    std::array<SpriteSet, 8> enemySprites;
    std::array<SpriteSet, 8> shotSprites;
    std::array<SpriteSet, 3> itemSprites;
    std::array<SpriteSet, 17> deathSprites;
    SpriteSet infobarFrame;  // "infobarf.spr"
    SpriteSet infobarEnergy; // "infobare.spr"
    SpriteSet numberFont;    // "Number.spr"
    SpriteSet letterFont;    // "English.spr"
    BitmapImage clearPanel;  // "Clear-bk.bmp"
    SpriteSet specialIcons;  // "SWIcon.spr"
    std::array<WaveClip, 8> effectClips;
    std::array<WaveClip, 3> musicClips;

    // The first file that failed, at start-up or in a scene's start; empty while all went well.
    ContentFailure failure;
};

extern ContentCatalogue catalogue;

// The number of files that start-up reads.
constexpr int startUpFileCount = 66;
// The file names in the order start-up reads them.
extern const std::array<const char*, startUpFileCount> startUpFileNames;

// Every clip the catalogue holds, loaded or not: what the sound output's format is chosen from.
std::vector<const WaveClip*> catalogueClips(const ContentCatalogue& content);

// Reads the files that need no check; called once as the program starts, before start-up.
void loadProgramContent();
// Reads the start-up files in order; 1 when all loaded. At the first failure it notes the file in
// catalogue.failure, releases the palette picture and returns 0; the rest stays loaded until
// releaseContent.
int loadContent();
// Reads every start-up file from the folder into content (which must be empty), going on past
// failures: the names of the files that did not load, in start-up's order.
std::vector<const char*> loadStartUpFilesFrom(const std::string& folder, ContentCatalogue* content);
// Notes a content file that failed to load (absent or damaged, told by looking for it) unless an
// earlier failure is noted already.
void noteContentFailure(const char* name, ContentFault fault);
void noteContentLoadFailure(const char* name);
// Releases everything loadContent read; harmless on what is already empty.
void releaseContent();
// Releases the content read as the program started (the process exit does this).
void releaseProgramContent();

} // namespace kavorind
