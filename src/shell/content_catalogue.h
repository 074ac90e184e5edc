#pragma once
#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "sound/wave_clip.h"

#include <array>

// Every piece of content the program keeps for its whole run, read from fixed file names in the
// working directory.

// Read when the program starts, without any check: a missing file leaves its object empty and the
// scene that uses it shows or plays nothing in its place.
extern WaveClip tallyEffect;          // "C-Eff.wav"
extern WaveClip tallyMusic;           // "C-Music.wav"
extern SpriteSet endingAnimation;     // "Ending-s.spr"
extern BitmapImage logoPicture;       // "LOGO.BMP"
extern BitmapImage openingBackground; // "open-bk.bmp"
extern BitmapImage openingText;       // "open-s.bmp"
extern SpriteSet openingAnimation;    // "open-c.spr"
extern WaveClip openingMusic;         // "Open-M.wav"

// Read by start-up, in this order; the first that fails stops the program.
extern BitmapImage gamePalette; // "Pal.Pal": only its colour table is used
extern std::array<StageMap, 3> backMaps;
extern std::array<StageMap, 3> middleMaps;
extern std::array<StageMap, 3> frontMaps;
extern std::array<SpriteSet, 3> playerSprites; // flight, attack, collision shape
extern std::array<SpriteSet, 8> enemySprites;
extern std::array<SpriteSet, 8> shotSprites;
extern std::array<SpriteSet, 3> itemSprites;
extern std::array<SpriteSet, 17> deathSprites;
extern SpriteSet infobarFrame;  // "infobarf.spr"
extern SpriteSet infobarEnergy; // "infobare.spr"
extern SpriteSet numberFont;    // "Number.spr"
extern SpriteSet letterFont;    // "English.spr"
extern BitmapImage clearPanel;  // "Clear-bk.bmp"
extern SpriteSet specialIcons;  // "SWIcon.spr"
extern std::array<WaveClip, 8> effectClips;
extern std::array<WaveClip, 3> musicClips;

// The number of files that start-up reads.
constexpr int startUpFileCount = 66;
// The file names in the order start-up reads them.
extern const std::array<const char*, startUpFileCount> startUpFileNames;

// Reads the files that need no check; called once as the program starts, before start-up.
void loadProgramContent();
// Reads the start-up files in order; 1 when all loaded. At the first failure it names the file and
// the folder on stderr, releases the palette picture and returns 0; the rest stays loaded until
// releaseContent.
int loadContent();
// Releases everything loadContent read; harmless on what is already empty.
void releaseContent();
// Releases the content read as the program started (the process exit does this).
void releaseProgramContent();
