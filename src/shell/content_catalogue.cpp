#include "shell/content_catalogue.h"

#include <cstdio>
#include <filesystem>

WaveClip tallyEffect;
WaveClip tallyMusic;
SpriteSet endingAnimation;
BitmapImage logoPicture;
BitmapImage openingBackground;
BitmapImage openingText;
SpriteSet openingAnimation;
WaveClip openingMusic;

BitmapImage gamePalette;
std::array<StageMap, 3> backMaps;
std::array<StageMap, 3> middleMaps;
std::array<StageMap, 3> frontMaps;
std::array<SpriteSet, 3> playerSprites;
std::array<SpriteSet, 8> enemySprites;
std::array<SpriteSet, 8> shotSprites;
std::array<SpriteSet, 3> itemSprites;
std::array<SpriteSet, 17> deathSprites;
SpriteSet infobarFrame;
SpriteSet infobarEnergy;
SpriteSet numberFont;
SpriteSet letterFont;
BitmapImage clearPanel;
SpriteSet specialIcons;
std::array<WaveClip, 8> effectClips;
std::array<WaveClip, 3> musicClips;

const std::array<const char*, startUpFileCount> startUpFileNames = {
    "Pal.Pal",      "Stage-B1.map", "Stage-B2.map", "Stage-B3.map", "Stage-M1.map", "Stage-M2.map",
    "Stage-M3.map", "Stage-F1.map", "Stage-F2.map", "Stage-F3.map", "MyCap.spr",    "MyACap.spr",
    "Hit.spr",      "Enemy0.spr",   "Enemy1.spr",   "Enemy2.spr",   "Enemy3.spr",   "Enemy4.spr",
    "Enemy5.spr",   "Enemy6.spr",   "Enemy7.spr",   "Weapon0.spr",  "Weapon1.spr",  "Weapon2.spr",
    "Weapon3.spr",  "Weapon4.spr",  "Weapon5.spr",  "Weapon6.spr",  "Weapon7.spr",  "Item0.spr",
    "Item1.spr",    "Item2.spr",    "Dead0.spr",    "Dead1.spr",    "Dead2.spr",    "Dead3.spr",
    "Dead4.spr",    "Dead5.spr",    "Dead6.spr",    "Dead7.spr",    "Dead8.spr",    "Dead9.spr",
    "Dead10.spr",   "Dead11.spr",   "Dead12.spr",   "Dead13.spr",   "Dead14.spr",   "Dead15.spr",
    "Dead16.spr",   "infobarf.spr", "infobare.spr", "Number.spr",   "English.spr",  "Clear-bk.bmp",
    "SWIcon.spr",   "Effect0.Wav",  "Effect1.Wav",  "Effect2.Wav",  "Effect3.Wav",  "Effect4.Wav",
    "Effect5.Wav",  "Effect6.Wav",  "Effect7.Wav",  "Music0.Wav",   "Music1.Wav",   "Music2.Wav",
};

namespace {

// Walks the start-up files in order, handing each to its object; stops at the first failure.
struct ContentLoader {
    int next = 0;
    const char* failed = nullptr;

    template <typename Content> void read(Content& object) {
        if (failed)
            return;
        const char* name = startUpFileNames[static_cast<size_t>(next++)];
        if (!object.load(name))
            failed = name;
    }
    template <typename Content, size_t count> void read(std::array<Content, count>& objects) {
        for (Content& object : objects)
            read(object);
    }
};

void reportMissing(const char* name) {
    std::error_code problem;
    std::string folder = std::filesystem::current_path(problem).string();
    std::fprintf(stderr, "Kavorind: cannot load \"%s\" from %s\n", name, folder.c_str());
}

template <typename Content, size_t count> void releaseAll(std::array<Content, count>& objects) {
    for (Content& object : objects)
        object.release();
}

} // namespace

void loadProgramContent() {
    tallyEffect.load("C-Eff.wav");
    tallyMusic.load("C-Music.wav");
    endingAnimation.load("Ending-s.spr");
    logoPicture.load("LOGO.BMP");
    openingBackground.load("open-bk.bmp");
    openingText.load("open-s.bmp");
    openingAnimation.load("open-c.spr");
    openingMusic.load("Open-M.wav");
}

void releaseProgramContent() {
    tallyEffect.release();
    tallyMusic.release();
    endingAnimation.release();
    logoPicture.release();
    openingBackground.release();
    openingText.release();
    openingAnimation.release();
    openingMusic.release();
}

int loadContent() {
    ContentLoader loader;
    loader.read(gamePalette);
    loader.read(backMaps);
    loader.read(middleMaps);
    loader.read(frontMaps);
    loader.read(playerSprites);
    loader.read(enemySprites);
    loader.read(shotSprites);
    loader.read(itemSprites);
    loader.read(deathSprites);
    loader.read(infobarFrame);
    loader.read(infobarEnergy);
    loader.read(numberFont);
    loader.read(letterFont);
    loader.read(clearPanel);
    loader.read(specialIcons);
    loader.read(effectClips);
    loader.read(musicClips);
    if (!loader.failed)
        return 1;
    reportMissing(loader.failed);
    gamePalette.release();
    return 0;
}

void releaseContent() {
    gamePalette.release();
    releaseAll(backMaps);
    releaseAll(middleMaps);
    releaseAll(frontMaps);
    releaseAll(playerSprites);
    releaseAll(enemySprites);
    releaseAll(shotSprites);
    releaseAll(itemSprites);
    releaseAll(deathSprites);
    infobarFrame.release();
    infobarEnergy.release();
    numberFont.release();
    letterFont.release();
    clearPanel.release();
    specialIcons.release();
    releaseAll(effectClips);
    releaseAll(musicClips);
}
