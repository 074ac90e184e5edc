// What goes around the classic game, driven without a window: the pause follows its key and
// Escape, a run is followed from the game scene's first tick to the menu and kept with a replay
// that starts where it started, and the overlay is drawn in the output's pixels and only when
// wanted.
#include "extras/around_game.h"

#include "display/display_device.h"
#include "extras/overlay_panels.h"
#include "extras/overlay_text.h"
#include "extras/pause_screen.h"
#include "extras/replay_file.h"
#include "extras/run_record.h"
#include "game/game_state.h"
#include "input/bindings.h"
#include "input/key_state.h"
#include "platform/audio.h"
#include "platform/keyboard.h"
#include "scenes/scene_protocol.h"
#include "shell/session.h"

#include "extras_test_support.h"

#include <algorithm>
#include <array>
#include <memory>

namespace kavorind {
namespace {

// The keys the fake devices hold down.
struct FakeKeys {
    std::array<int, 256> down{};
};
FakeKeys fakeKeys;

PhysicalReader fakeReader() {
    return {[](int key) { return key >= 0 && key < 256 ? fakeKeys.down[key] : 0; },
            [](int) { return 0; }, [](int) { return 0; }};
}

class AroundGameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fakeKeys = FakeKeys{};
        installBindingsReading(defaultBindings(), fakeReader());
        session = Session{};
        game = GameWorld{};
        sceneLoop = SceneLoop{};
        aroundGame = AroundGame{};
        aroundGame.enabled = 1;
        aroundGame.setup.fingerprint = "0123456789abcdef";
        aroundGame.setup.playerName = "TESTER";
    }
    void TearDown() override {
        platformAudioPause(0);
        aroundGame = AroundGame{};
        platformSetKeySource(nullptr);
    }
    // One tick of the shell's hooks around a scene's tick that the test plays itself.
    template <typename SceneTick> void tick(SceneTick sceneTick) {
        aroundGameTickBegins();
        sceneTick();
        aroundGameTickEnds();
    }
};

TEST_F(AroundGameTest, ThePauseKeyPausesAndResumesAndEscapeResumesToo) {
    EXPECT_EQ(aroundGameHoldsTick(), 0);
    fakeKeys.down['P'] = 1;
    EXPECT_EQ(aroundGameHoldsTick(), 1) << "a press pauses";
    EXPECT_EQ(platformAudioPaused(), 1);
    EXPECT_EQ(aroundGameHoldsTick(), 1) << "held, it stays paused: no flicker";
    fakeKeys.down['P'] = 0;
    EXPECT_EQ(aroundGameHoldsTick(), 1);
    fakeKeys.down['P'] = 1;
    EXPECT_EQ(aroundGameHoldsTick(), 0) << "a second press resumes, and this tick runs";
    EXPECT_EQ(platformAudioPaused(), 0);
    EXPECT_EQ(aroundGameHoldsTick(), 0) << "held after resuming, it does not pause again";

    fakeKeys.down['P'] = 0;
    EXPECT_EQ(aroundGameHoldsTick(), 0);
    fakeKeys.down[VK_PAUSE] = 1;
    EXPECT_EQ(aroundGameHoldsTick(), 1) << "the Pause key is bound too";
    fakeKeys.down[VK_PAUSE] = 0;
    fakeKeys.down[VK_ESCAPE] = 1;
    EXPECT_EQ(aroundGameHoldsTick(), 0) << "Escape ends the pause";
    EXPECT_EQ(boundKeyDown(VK_ESCAPE), 1) << "and the game sees it on the tick that runs";
}

TEST_F(AroundGameTest, EscapeAlreadyHeldAsThePauseBeginsDoesNotEndIt) {
    fakeKeys.down[VK_ESCAPE] = 1;
    aroundGameFocusLost();
    EXPECT_EQ(aroundGame.pause.paused, 1) << "focus lost pauses";
    EXPECT_EQ(aroundGameHoldsTick(), 1);
    fakeKeys.down[VK_ESCAPE] = 0;
    EXPECT_EQ(aroundGameHoldsTick(), 1);
    fakeKeys.down[VK_ESCAPE] = 1;
    EXPECT_EQ(aroundGameHoldsTick(), 0);
}

TEST_F(AroundGameTest, FocusLossPausesOnlyWhenTheSetupAsks) {
    aroundGame.setup.pauseOnFocusLoss = 0;
    aroundGameFocusLost();
    EXPECT_EQ(aroundGame.pause.paused, 0);
    aroundGame.enabled = 0;
    aroundGame.setup.pauseOnFocusLoss = 1;
    aroundGameFocusLost();
    fakeKeys.down['P'] = 1;
    EXPECT_EQ(aroundGameHoldsTick(), 0) << "classic: nothing pauses";
    EXPECT_EQ(aroundGame.pause.paused, 0);
}

TEST_F(AroundGameTest, ARunIsFollowedToTheMenuAndKeptWithAReplayFromItsStart) {
    ScratchFolder folder;
    aroundGame.setup.playerFolder = folder / "kavorind";
    sceneLoop.currentScene = SceneGame;
    game.scene.spawnerPrimed = 1;
    game.scene.lastSpawnColumn = 57;
    keyState.counters[VK_Z] = 3; // fire held since the opening
    session.snapshot[VK_Z] = 1;
    auto playing = [] {
        game.scene.gameStarted = 1;
        game.state.hp = 3;
    };
    tick(playing);
    ASSERT_EQ(aroundGame.run.active, 1);
    session.snapshot[VK_Z] = 0;
    tick([] { game.state.hp = 2; });         // hit
    tick([] { game.state.hp = 4; });         // an item: no hit
    tick([] { game.state.stageIndex = 1; }); // the next stage, hit points as they are
    tick([] { game.state.hp = 1; });         // hit
    tick([] {
        game.state.score = 1234;
        game.state.stageIndex = 0; // a lost game goes back to stage 1 as it leaves
        sceneLoop.currentScene = SceneMenu;
    });
    EXPECT_EQ(aroundGame.run.active, 0);

    const ResultPanel& result = aroundGame.result;
    EXPECT_GT(result.ticksLeft, 0);
    EXPECT_EQ(result.cleared, 0);
    EXPECT_EQ(result.score, 1234);
    EXPECT_EQ(result.stage, 2);
    EXPECT_EQ(result.hits, 2);
    EXPECT_EQ(result.ticks, 6);
    EXPECT_EQ(result.rank, 1);

    ScoreTable table = loadScoreTable(folder / "kavorind/scores.txt");
    ASSERT_EQ(table.entries.size(), 1u);
    const ScoreEntry& entry = table.entries[0];
    EXPECT_EQ(entry.score, 1234);
    EXPECT_EQ(entry.stage, 2);
    EXPECT_EQ(entry.name, "TESTER");
    EXPECT_EQ(entry.ticks, 6);
    const std::string replay = fileText(folder / "kavorind/replays/last.keys");
    EXPECT_EQ(fileText(folder / ("kavorind/replays/" + entry.replay)), replay);
    ReplayHeader header;
    ASSERT_EQ(readReplayHeader(replay, &header), 1);
    EXPECT_EQ(header.score, 1234);
    EXPECT_EQ(header.options, "--scene 3 --stage 0 --held Z --spawn-column 57");
    EXPECT_NE(replay.find("\n1 Z\n"), std::string::npos) << replay;
    EXPECT_NE(replay.find("# ticks: 6"), std::string::npos) << replay;
}

TEST_F(AroundGameTest, ReplayedAndPracticeRunsAreNeverRanked) {
    ScratchFolder folder;
    aroundGame.setup.playerFolder = folder / "kavorind";
    auto playOneRun = [&] {
        sceneLoop.currentScene = SceneGame;
        game.scene.gameStarted = 0;
        tick([] { game.scene.gameStarted = 1; });
        tick([] { sceneLoop.currentScene = SceneEnding; });
    };
    session.replaying = 1;
    session.replayLastTick = 1000;
    session.tick = 1;
    playOneRun();
    EXPECT_EQ(aroundGame.result.replayed, 1);
    EXPECT_EQ(aroundGame.result.cleared, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "kavorind/replays/last.keys"))
        << "a watched replay keeps nothing";

    session = Session{};
    aroundGame.setup.practiceStage = 3;
    playOneRun();
    EXPECT_EQ(game.state.stageIndex, 2) << "practice starts at its stage";
    EXPECT_EQ(aroundGame.result.practice, 1);
    EXPECT_EQ(aroundGame.result.rank, 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "kavorind/replays/last.keys"));
    EXPECT_NE(fileText(folder / "kavorind/replays/last.keys").find("--stage 2"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder / "kavorind/scores.txt"));
}

// Every box of the overlay lies in the output, and nothing is drawn when nothing is shown.
TEST_F(AroundGameTest, TheOverlayIsDrawnInTheOutputOnlyWhenSomethingIsShown) {
    const PlatformOverlayArea area{1000, 700, 100, 20, 800, 600};
    std::vector<PlatformOverlayBox> boxes;
    paintAroundGame(area, &boxes);
    EXPECT_TRUE(boxes.empty());

    aroundGame.pause.paused = 1;
    aroundGame.result.ticksLeft = 10;
    aroundGame.result.rank = 2;
    aroundGame.result.score = 987654;
    paintAroundGame(area, &boxes);
    ASSERT_FALSE(boxes.empty());
    auto dimming = std::find_if(boxes.begin(), boxes.end(), [&](const PlatformOverlayBox& box) {
        return box.argb == overlayDim && box.width == area.width && box.height == area.height;
    });
    ASSERT_NE(dimming, boxes.end()) << "the pause dims the whole output";
    EXPECT_NE(dimming, boxes.begin()) << "over the result, which it holds still too";
    for (const PlatformOverlayBox& box : boxes) {
        EXPECT_GE(box.x, 0);
        EXPECT_GE(box.y, 0);
        EXPECT_LE(box.x + box.width, area.width);
        EXPECT_LE(box.y + box.height, area.height);
    }

    aroundGame.enabled = 0;
    boxes.clear();
    paintAroundGame(area, &boxes);
    EXPECT_TRUE(boxes.empty()) << "classic: nothing over the picture";
}

// A reduced hit flash shows the frame in the colours the flash will put back, with a red border;
// the palette itself, which the trace and the runner see, stays the flash's.
TEST_F(AroundGameTest, AReducedHitFlashKeepsTheStagesColoursAndDrawsABorder) {
    displayDevice.palette.ddPalette = std::make_unique<DevicePalette>();
    PaletteEntries stage{};
    stage[7] = PaletteEntry{10, 20, 30, 0};
    setPaletteEntries(displayDevice.palette.directDrawPalette(), stage);
    displayDevice.palette.saveReference();
    displayDevice.palette.fillAll(255);
    const uint32_t* flash = displayDevice.palette.directDrawPalette()->argb.data();
    sceneLoop.currentScene = SceneGame;
    game.scene.hitFlash = 2;
    aroundGame.setup.reduceFlashing = 1;
    ASSERT_EQ(hitFlashReduced(), 1);
    EXPECT_EQ(coloursShownFor(flash)[7], 0xff0a141eu) << "the stage's colour, not the flash's";
    const PlatformOverlayArea area{640, 480, 0, 0, 640, 480};
    std::vector<PlatformOverlayBox> boxes;
    paintAroundGame(area, &boxes);
    EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                            [](const PlatformOverlayBox& box) { return box.argb == overlayRed; }),
              4);

    game.scene.hitFlash = 0;
    EXPECT_EQ(hitFlashReduced(), 0) << "the flash is over";
    game.scene.hitFlash = 2;
    aroundGame.setup.reduceFlashing = 0;
    EXPECT_EQ(hitFlashReduced(), 0) << "not asked for";
    EXPECT_EQ(coloursShownFor(flash), flash);
    EXPECT_EQ(flash[7], 0xffff0000u) << "the palette stays the flash's";
    displayDevice.palette.releasePalette();
}

TEST(OverlayText, TextIsAsWideAsItsWidthSaysAndScalesWithTheFrame) {
    std::vector<PlatformOverlayBox> boxes;
    OverlayPen pen{&boxes, overlayUnit(PlatformOverlayArea{1920, 1080, 240, 0, 1440, 1080})};
    EXPECT_EQ(pen.unit, 4);
    addOverlayText(pen, "HIT 10", 100, 50, 1, overlayWhite);
    int right = 0;
    for (const PlatformOverlayBox& box : boxes)
        if (box.argb == overlayWhite)
            right = std::max(right, box.x + box.width);
    EXPECT_EQ(right, 100 + overlayTextWidth(pen, "HIT 10", 1));
    EXPECT_EQ(overlayUnit(PlatformOverlayArea{640, 480, 0, 0, 640, 480}), 2);
    EXPECT_EQ(overlayUnit(PlatformOverlayArea{320, 240, 0, 0, 320, 240}), 1);
}

} // namespace
} // namespace kavorind
