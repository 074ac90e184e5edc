// Start-up on the default content: the catalogue's order, a missing start-up file stopping the
// program with its message after a full shut-down, a missing picture of the opening not stopping
// it, and names that differ only in case.
#include "content/generated_content.h"
#include "sim_run.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "platform/messages.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"
#include "shell/shutdown.h"
#include "shell/startup.h"

#include <gtest/gtest.h>

namespace kavorind {

using namespace generated;

namespace {

// Whether each start-up object holds its content, in the order start-up reads them.
std::vector<bool> loadedInOrder() {
    std::vector<bool> flags = {!catalogue.gamePalette.isEmpty()};
    for (auto* maps : {&catalogue.backMaps, &catalogue.middleMaps, &catalogue.frontMaps})
        for (const StageMap& m : *maps)
            flags.push_back(!m.isEmpty());
    for (auto* sets : {&catalogue.playerSprites})
        for (const SpriteSet& s : *sets)
            flags.push_back(s.isLoaded());
    for (const SpriteSet& s : catalogue.enemySprites)
        flags.push_back(s.isLoaded());
    for (const SpriteSet& s : catalogue.shotSprites)
        flags.push_back(s.isLoaded());
    for (const SpriteSet& s : catalogue.itemSprites)
        flags.push_back(s.isLoaded());
    for (const SpriteSet& s : catalogue.deathSprites)
        flags.push_back(s.isLoaded());
    for (const SpriteSet* s : {&catalogue.infobarFrame, &catalogue.infobarEnergy,
                               &catalogue.numberFont, &catalogue.letterFont})
        flags.push_back(s->isLoaded());
    flags.push_back(!catalogue.clearPanel.isEmpty());
    flags.push_back(catalogue.specialIcons.isLoaded());
    for (const WaveClip& c : catalogue.effectClips)
        flags.push_back(c.hasSamples());
    for (const WaveClip& c : catalogue.musicClips)
        flags.push_back(c.hasSamples());
    return flags;
}

// A folder of links to the generated files, leaving out one and renaming others.
struct DataFolder {
    fs::path dir;
    fs::path previous;
    DataFolder(const std::string& leaf, const std::string& without, bool lowerCase = false) {
        dir = fs::temp_directory_path() /
              ("kavorind-startup-" + std::to_string(getpid()) + "-" + leaf);
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const std::string& name : allNames()) {
            if (name == without)
                continue;
            std::string linked = name;
            if (lowerCase)
                for (char& c : linked)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            fs::create_symlink(fs::path(folder()) / name, dir / linked);
        }
        previous = fs::current_path();
        fs::current_path(dir);
    }
    ~DataFolder() {
        fs::current_path(previous);
        fs::remove_all(dir);
    }
};

struct StartUpTest : ::testing::Test {
    void SetUp() override {
        ASSERT_FALSE(folder().empty());
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        static PlatformWindow* window = platformCreateWindow("Kavorind", 640, 480, 0);
        ASSERT_NE(window, nullptr);
        platformSetManualTimers(1);
        platformSetMessageBoxesEnabled(0);
        displaySettings.window = window;
        displaySettings.fullScreen = 0;
        displaySettings.width = 640;
        displaySettings.height = 480;
        displaySettings.bitsPerPixel = 8;
    }
    void TearDown() override {
        shutDown();
        releaseProgramContent();
        platformFlushMessages();
    }
};

} // namespace

TEST_F(StartUpTest, LoadsEverythingFromTheDefaultContent) {
    DataFolder data("all", "");
    loadProgramContent();
    EXPECT_FALSE(catalogue.logoPicture.isEmpty());
    EXPECT_TRUE(catalogue.openingAnimation.isLoaded());
    EXPECT_TRUE(catalogue.tallyMusic.hasSamples());
    ASSERT_EQ(startUp(), 1);
    std::vector<bool> flags = loadedInOrder();
    ASSERT_EQ(flags.size(), startUpNames().size());
    for (size_t i = 0; i < flags.size(); ++i)
        EXPECT_TRUE(flags[i]) << startUpNames()[i];
    shutDown();
    for (bool loaded : loadedInOrder())
        EXPECT_FALSE(loaded) << "shut-down releases what start-up loaded";
}

TEST_F(StartUpTest, LoadingStopsAtTheFirstMissingFileAndKeepsWhatCameBefore) {
    const std::vector<std::string> names = startUpNames();
    for (size_t missing = 0; missing < names.size(); ++missing) {
        SCOPED_TRACE(names[missing]);
        DataFolder data("missing", names[missing]);
        EXPECT_EQ(loadContent(), 0);
        EXPECT_EQ(catalogue.failure.file, names[missing]) << "the file is kept for the report";
        EXPECT_EQ(catalogue.failure.fault, ContentAbsent);
        std::vector<bool> flags = loadedInOrder();
        EXPECT_FALSE(flags[0]) << "the palette picture is let go at once";
        for (size_t i = 1; i < flags.size(); ++i)
            EXPECT_EQ(flags[i], i < missing) << names[i];
        releaseContent();
        for (bool loaded : loadedInOrder())
            ASSERT_FALSE(loaded);
    }
}

TEST_F(StartUpTest, AMissingStartUpFileShutsEverythingDown) {
    for (const char* missing :
         {"Pal.Pal", "Stage-M2.map", "Dead16.spr", "Clear-bk.bmp", "Music2.Wav"}) {
        SCOPED_TRACE(missing);
        DataFolder data("shutdown", missing);
        testing::internal::CaptureStderr();
        EXPECT_EQ(startUp(), 0);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(shell.shutDownBegun, 1) << "the shut-down ran and showed the cursor again";
        EXPECT_EQ(displayDevice.backSurface(), nullptr);
        for (bool loaded : loadedInOrder())
            EXPECT_FALSE(loaded);
    }
}

TEST_F(StartUpTest, MissingOpeningAndLogoFilesDoNotStopStartUp) {
    for (const char* missing :
         {"LOGO.BMP", "open-s.bmp", "open-c.spr", "Open-M.wav", "C-Eff.wav", "Ending-s.spr"}) {
        SCOPED_TRACE(missing);
        DataFolder data("optional", missing);
        releaseProgramContent();
        loadProgramContent();
        EXPECT_EQ(startUp(), 1);
        shutDown();
    }
    DataFolder data("nologo", "LOGO.BMP");
    releaseProgramContent();
    loadProgramContent();
    EXPECT_TRUE(catalogue.logoPicture.isEmpty());
    EXPECT_FALSE(catalogue.openingText.isEmpty());
}

TEST_F(StartUpTest, NamesThatDifferOnlyInCaseAreFound) {
    DataFolder data("lower", "", true);
    ASSERT_FALSE(fs::exists(data.dir / "Pal.Pal"));
    loadProgramContent();
    EXPECT_FALSE(catalogue.logoPicture.isEmpty());
    ASSERT_EQ(startUp(), 1);
    for (bool loaded : loadedInOrder())
        EXPECT_TRUE(loaded);
}

// The real program, headless: the start-up message goes to stderr, and the runner's exit code is
// 1 for a program that did not start.
TEST(StartUpRun, AMissingFileEndsTheProgramWithTheMessageAndExitCodeOne) {
    ASSERT_FALSE(folder().empty());
    fs::path dir = fs::temp_directory_path() / ("kavorind-run-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const std::string& name : allNames())
        if (name != "Weapon5.spr")
            fs::create_symlink(fs::path(folder()) / name, dir / name);
    SimRun broken = runSim(dir.string(), "", 10);
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.stderrText.find(startUpFailureText), std::string::npos) << broken.stderrText;
    EXPECT_NE(broken.stderrText.find("\"Weapon5.spr\""), std::string::npos) << broken.stderrText;
    EXPECT_TRUE(broken.lines.empty()) << "no tick ran";
    fs::create_symlink(fs::path(folder()) / "Weapon5.spr", dir / "Weapon5.spr");
    SimRun whole = runSim(dir.string(), "", 120);
    EXPECT_EQ(whole.exitCode, 0);
    ASSERT_EQ(whole.lines.size(), 120u);
    EXPECT_EQ(whole.at(120)["scene"], 2) << "the logo ran its course into the menu";
    fs::remove_all(dir);
}

} // namespace kavorind
