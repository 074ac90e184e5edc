#include "assets/content_catalogue.h"

#include "platform/content_path.h"

#include <filesystem>

namespace kavorind {

ContentCatalogue catalogue;

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

template <typename Content, size_t count> void releaseAll(std::array<Content, count>& objects) {
    for (Content& object : objects)
        object.release();
}

} // namespace

std::vector<const WaveClip*> catalogueClips(const ContentCatalogue& content) {
    std::vector<const WaveClip*> clips{&content.tallyEffect, &content.tallyMusic,
                                       &content.openingMusic};
    for (const WaveClip& clip : content.effectClips)
        clips.push_back(&clip);
    for (const WaveClip& clip : content.musicClips)
        clips.push_back(&clip);
    return clips;
}

void loadProgramContent() {
    catalogue.tallyEffect.load("C-Eff.wav");
    catalogue.tallyMusic.load("C-Music.wav");
    catalogue.endingAnimation.load("Ending-s.spr");
    catalogue.logoPicture.load("LOGO.BMP");
    catalogue.openingBackground.load("open-bk.bmp");
    catalogue.openingText.load("open-s.bmp");
    catalogue.openingAnimation.load("open-c.spr");
    catalogue.openingMusic.load("Open-M.wav");
}

void releaseProgramContent() {
    catalogue.tallyEffect.release();
    catalogue.tallyMusic.release();
    catalogue.endingAnimation.release();
    catalogue.logoPicture.release();
    catalogue.openingBackground.release();
    catalogue.openingText.release();
    catalogue.openingAnimation.release();
    catalogue.openingMusic.release();
}

int loadContent() {
    catalogue.failure = ContentFailure{};
    ContentLoader loader;
    loader.read(catalogue.gamePalette);
    loader.read(catalogue.backMaps);
    loader.read(catalogue.middleMaps);
    loader.read(catalogue.frontMaps);
    loader.read(catalogue.playerSprites);
    loader.read(catalogue.enemySprites);
    loader.read(catalogue.shotSprites);
    loader.read(catalogue.itemSprites);
    loader.read(catalogue.deathSprites);
    loader.read(catalogue.infobarFrame);
    loader.read(catalogue.infobarEnergy);
    loader.read(catalogue.numberFont);
    loader.read(catalogue.letterFont);
    loader.read(catalogue.clearPanel);
    loader.read(catalogue.specialIcons);
    loader.read(catalogue.effectClips);
    loader.read(catalogue.musicClips);
    if (!loader.failed)
        return 1;
    noteContentLoadFailure(loader.failed);
    catalogue.gamePalette.release();
    return 0;
}

void noteContentFailure(const char* name, ContentFault fault) {
    if (catalogue.failure.fault == ContentFine)
        catalogue.failure = ContentFailure{name, fault};
}

void noteContentLoadFailure(const char* name) {
    std::error_code problem;
    int present = std::filesystem::is_regular_file(contentPath(name), problem);
    noteContentFailure(name, present ? ContentDamaged : ContentAbsent);
}

void releaseContent() {
    catalogue.gamePalette.release();
    releaseAll(catalogue.backMaps);
    releaseAll(catalogue.middleMaps);
    releaseAll(catalogue.frontMaps);
    releaseAll(catalogue.playerSprites);
    releaseAll(catalogue.enemySprites);
    releaseAll(catalogue.shotSprites);
    releaseAll(catalogue.itemSprites);
    releaseAll(catalogue.deathSprites);
    catalogue.infobarFrame.release();
    catalogue.infobarEnergy.release();
    catalogue.numberFont.release();
    catalogue.letterFont.release();
    catalogue.clearPanel.release();
    catalogue.specialIcons.release();
    releaseAll(catalogue.effectClips);
    releaseAll(catalogue.musicClips);
}

} // namespace kavorind
