// The generator writes every file the program reads, each one loads with the game's own loaders,
// and a second run writes the same bytes.
#include "content/generated_content.h"

#include "assets/bitmap_image.h"
#include "assets/content_catalogue.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "sound/wave_clip.h"

#include <gtest/gtest.h>

#include <set>

namespace kavorind {

using namespace generated;

TEST(Generator, WritesExactlyTheFilesTheProgramReads) {
    ASSERT_FALSE(folder().empty());
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(folder()))
        written.insert(entry.path().filename().string());
    // The start-up files are the catalogue's own list, in its order.
    std::vector<std::string> catalogueNames(startUpFileNames.begin(), startUpFileNames.end());
    EXPECT_EQ(startUpNames(), catalogueNames);
    std::vector<std::string> names = allNames();
    for (const std::string& name : names)
        EXPECT_TRUE(written.count(name)) << name << " is missing";
    EXPECT_EQ(written.size(), names.size());
}

TEST(Generator, EveryFileLoadsWithTheGamesLoaders) {
    ASSERT_FALSE(folder().empty());
    for (const std::string& name : allNames()) {
        std::string path = folder() + "/" + name;
        std::string ext = extensionOf(name);
        if (ext == "bmp" || ext == "pal") {
            BitmapImage image;
            EXPECT_EQ(image.load(path), 1) << name;
        } else if (ext == "spr") {
            SpriteSet set;
            EXPECT_EQ(set.load(path), 1) << name;
        } else if (ext == "map") {
            StageMap map;
            EXPECT_EQ(map.load(path), 1) << name;
        } else {
            WaveClip clip;
            EXPECT_EQ(clip.load(path.c_str()), 1) << name;
            EXPECT_EQ(clip.hasSamples(), 1) << name;
        }
    }
}

TEST(Generator, WritesTheSameBytesOnEveryRun) {
    ASSERT_FALSE(folder().empty());
    std::string again = writeInto("again");
    ASSERT_FALSE(again.empty());
    for (const std::string& name : allNames()) {
        std::vector<uint8_t> first = bytesOf(folder() + "/" + name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_TRUE(first == bytesOf(again + "/" + name)) << name << " differs between runs";
    }
    fs::remove_all(again);
}

TEST(Generator, RefusesAMissingOrExtraArgument) {
    EXPECT_NE(std::system(KAVORIND_BUILD_DIR "/kavorind-content 2>/dev/null"), 0);
    EXPECT_NE(std::system(KAVORIND_BUILD_DIR "/kavorind-content a b 2>/dev/null"), 0);
}

TEST(Generator, PreviewWritesContactSheets) {
    fs::path dir = fs::temp_directory_path() / ("kavorind-preview-" + std::to_string(getpid()));
    std::string command =
        std::string(KAVORIND_BUILD_DIR "/kavorind-content --preview '") + dir.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* sheet : {"sprites.png", "stage1-layers.png", "stage2-middle-map.png",
                              "stage3-layers.png", "picture-LOGO.BMP.png"}) {
        std::vector<uint8_t> png = bytesOf((dir / sheet).string());
        ASSERT_GT(png.size(), 8u) << sheet;
        EXPECT_EQ(png[1], 'P') << sheet;
    }
    fs::remove_all(dir);
}

} // namespace kavorind
