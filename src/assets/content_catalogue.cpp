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

// Walks the start-up files in order, handing each to its object. The game stops at the first
// failure; a check of a whole folder goes on and notes every one.
struct ContentLoader {
    std::string folder; // prefixed to each name; empty for the working directory
    bool goOnAfterFailure = false;
    int next = 0;
    std::vector<const char*> failed;

    template <typename Content> void read(Content& object) {
        if (!failed.empty() && !goOnAfterFailure)
            return;
        const char* name = startUpFileNames[static_cast<size_t>(next++)];
        std::string path = folder.empty() ? std::string(name) : folder + "/" + name;
        if (!object.load(path.c_str()))
            failed.push_back(name);
    }
    template <typename Content, size_t count> void read(std::array<Content, count>& objects) {
        for (Content& object : objects)
            read(object);
    }
};

void readStartUpFiles(ContentLoader& loader, ContentCatalogue& content) {
    loader.read(content.gamePalette);
    loader.read(content.backMaps);
    loader.read(content.middleMaps);
    loader.read(content.frontMaps);
    loader.read(content.playerSprites);
    loader.read(content.enemySprites);
    loader.read(content.shotSprites);
    loader.read(content.itemSprites);
    loader.read(content.deathSprites);
    loader.read(content.infobarFrame);
    loader.read(content.infobarEnergy);
    loader.read(content.numberFont);
    loader.read(content.letterFont);
    loader.read(content.clearPanel);
    loader.read(content.specialIcons);
    loader.read(content.effectClips);
    loader.read(content.musicClips);
}

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
    readStartUpFiles(loader, catalogue);
    if (loader.failed.empty())
        return 1;
    noteContentLoadFailure(loader.failed.front());
    catalogue.gamePalette.release();
    return 0;
}

std::vector<const char*> loadStartUpFilesFrom(const std::string& folder,
                                              ContentCatalogue* content) {
    ContentLoader loader;
    loader.folder = folder;
    loader.goOnAfterFailure = true;
    readStartUpFiles(loader, *content);
    return loader.failed;
}

void noteContentFailure(const char* name, ContentFault fault) {
    if (catalogue.failure.fault == ContentFine)
        catalogue.failure = ContentFailure{name, fault};
}

void noteContentLoadFailure(const char* name) {
    // Something under the name that is not a file (a folder, a FIFO) is there but unreadable.
    std::error_code problem;
    int present = std::filesystem::exists(contentPath(name), problem);
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
